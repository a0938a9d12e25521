#pragma once

// desktop/pictures/ stands in for what the display shows: the window server's
// drawing of the whole screen, of window frames and other applications'
// windows, of the menu bar, open menus and the Dock.
//
// A picture of the simulated Mac's whole first screen, the way a person at
// that Mac would see it: the desktop picture, the windows in level order
// with their shadows, the Dock, the menu bar with its status items, an open
// menu and the pointer.

#include <memory>
#include <optional>
#include <string>

namespace platform::ui { class Bitmap; }

namespace desktop {

// At the screen's backing scale; nothing without a screen or when the screen
// is too large to picture (over 16384 pixels a side).
std::shared_ptr<platform::ui::Bitmap> screenPicture();
// Writes the picture as PNG to a path on this machine (not the simulated
// disk); the reason when it cannot.
std::optional<std::string> writeScreenPicture(const std::string& path);

}  // namespace desktop
