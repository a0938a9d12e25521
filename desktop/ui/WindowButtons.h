#pragma once

// The close, miniaturize and zoom buttons the window server draws over a
// window whose title bar lies over its content (full-size content view).

namespace platform::ui {
class Canvas;
class Window;
}  // namespace platform::ui

namespace desktop::ui {

// Draws the buttons on a canvas in the window's content coordinates; the
// colours of a key window, grey otherwise.
void drawWindowButtons(platform::ui::Canvas& canvas, const platform::ui::Window& window);

}  // namespace desktop::ui
