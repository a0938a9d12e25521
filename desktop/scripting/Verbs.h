#pragma once

// The scripting verbs of the simulated Mac, as the host's "!" lines.

#include <string>

#include <nlohmann/json_fwd.hpp>

namespace desktop {

// Runs one verb ("pointer 10 20", "launch ID", "state" ...) on a started
// desktop and answers {"ok":true,...} or {"ok":false,"error":...}; what the
// verb set off on the main run loop has run before it returns.
nlohmann::json runVerb(const std::string& line);

}  // namespace desktop
