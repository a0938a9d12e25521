#pragma once

// The menu bar as the simulated Mac draws it on its screen picture: the
// translucent band, the Apple menu and the active application's menus. The
// status items are windows of their own and are drawn over it.

#include <string>

#include "platform/Geometry.h"

namespace desktop::ui { class CairoCanvas; }

namespace desktop {

// band: the menu bar's rectangle in the canvas's points (y upwards).
void drawMenuBar(desktop::ui::CairoCanvas& canvas, platform::Rect band, const std::string& activeApplicationName);

}  // namespace desktop
