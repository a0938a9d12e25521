#pragma once

// What a browser may send through the playground, as the host's own lines: a
// JSON command goes to orvane_call, a "!" verb to the simulated Mac. Verbs
// that reach this machine's files (screenshot, pull, mkdir) or hold the main
// thread (wait, advance) stay with the host.

#include <optional>
#include <string>

namespace host {

// The reason a line may not be sent, or nothing when it may.
std::optional<std::string> refusedPlayLine(const std::string& line);

}  // namespace host
