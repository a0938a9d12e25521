#pragma once

// An open menu as the simulated Mac draws it on its screen picture.

#include <cstddef>

#include "platform/Geometry.h"

namespace desktop::ui { class CairoCanvas; }
namespace platform::ui { class Menu; }

namespace desktop {

// Draws the menu with its top-left corner at topLeft (the canvas's points,
// y upwards), kept on the screen; the item under the pointer is highlighted.
void drawMenu(desktop::ui::CairoCanvas& canvas, const platform::ui::Menu& menu, platform::Point topLeft,
              platform::Rect screen, platform::Point pointer);

// Where a pop-up button opens its menu so that the chosen item lies over the
// button with its title where the button shows it: the menu's top-left for a
// button whose title starts titleInset points in from its left edge.
platform::Point popUpMenuTopLeft(const platform::ui::Menu& menu, std::size_t chosen, platform::Rect button, double titleInset);

}  // namespace desktop
