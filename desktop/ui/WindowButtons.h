#pragma once

// The close, miniaturize and zoom buttons the window server draws over a
// window whose title bar lies over its content (full-size content view).

#include "platform/Geometry.h"
#include "platform/ui/Window.h"

namespace platform::ui { class Canvas; }

namespace desktop::ui {

// Draws the buttons on a canvas in the window's content coordinates; the
// colours of a key window, grey otherwise.
void drawWindowButtons(platform::ui::Canvas& canvas, const platform::ui::Window& window);
// One button's disc: its colour with a darker rim when active and present, grey otherwise.
void drawWindowButton(platform::ui::Canvas& canvas, platform::Rect disc, platform::ui::WindowButton button,
                      bool active, bool present);

}  // namespace desktop::ui
