#pragma once

// An open menu as the simulated Mac draws it on its screen picture.

#include "platform/Geometry.h"

namespace desktop::ui { class CairoCanvas; }
namespace platform::ui { class Menu; }

namespace desktop {

// Draws the menu with its top-left corner at topLeft (the canvas's points,
// y upwards), kept on the screen; the item under the pointer is highlighted.
void drawMenu(desktop::ui::CairoCanvas& canvas, const platform::ui::Menu& menu, platform::Point topLeft,
              platform::Rect screen, platform::Point pointer);

}  // namespace desktop
