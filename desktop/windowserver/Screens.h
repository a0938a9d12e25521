#pragma once

// The simulated Mac's displays: what the scene or the screens verb sets.

#include <optional>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "platform/ui/Screen.h"

namespace desktop {

// One 1512 x 982 screen at scale 2 whose menu bar takes 37 points.
std::vector<platform::ui::Screen> defaultScreens();
void setScreens(std::vector<platform::ui::Screen> screens);
// {"frame":R, "visibleFrame":R, "safeAreaTop":0, "backingScale":2}; a
// missing visible frame is the frame, a missing or non-positive scale is 2.
// Nothing when the frame is missing or malformed, or another key is malformed.
std::optional<platform::ui::Screen> screenFromJson(const nlohmann::json& value);
// Nothing unless value is an array of well-formed screens.
std::optional<std::vector<platform::ui::Screen>> screensFromJson(const nlohmann::json& value);
nlohmann::json screenJson(const platform::ui::Screen& screen);

}  // namespace desktop
