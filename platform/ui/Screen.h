#pragma once

#include <optional>
#include <vector>

#include "platform/Geometry.h"

namespace platform::ui {

struct Screen {
    Rect frame;
    Rect visibleFrame;  // the frame minus the menu bar and the Dock
    double safeAreaTop = 0;  // the camera housing's height on notched screens
    double backingScale = 2;
    friend bool operator==(const Screen&, const Screen&) = default;
};

// All screens, the first holding the menu bar's origin.
std::vector<Screen> screens();
// The screen of the key window, else the first; nothing without screens.
std::optional<Screen> mainScreen();

}  // namespace platform::ui
