#pragma once

// The verbs that use our windows the way a person does: press a control by
// its name, type into the focused field, choose a pop-up option, step a
// stepper, resize or close the frontmost window.

#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace desktop {

// Handles "press LABEL", "type TEXT", "pick LABEL OPTION", "step LABEL up|down",
// "resize W H" and "close"; nothing when the line is none of them.
std::optional<nlohmann::json> controlVerb(const std::string& line);

}  // namespace desktop
