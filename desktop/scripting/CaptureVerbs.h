#pragma once

// The scripting verbs of the simulated Mac's screen recording and windows:
// outcomes of captures, what happens to other applications' windows, and the
// picture of the whole screen.

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace desktop {

// Handles "capture ...", "window ..." and "screenshot PATH"; nothing when the
// verb is none of these. line is the whole verb line (arguments may hold spaces).
std::optional<nlohmann::json> captureVerb(const std::vector<std::string>& words, const std::string& line);

}  // namespace desktop
