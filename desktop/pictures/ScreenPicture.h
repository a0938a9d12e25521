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

#include "platform/Geometry.h"

namespace platform::ui { class Bitmap; }

namespace desktop {

// At the screen's backing scale; nothing without a screen or when the screen
// is too large to picture (over 16384 pixels a side).
std::shared_ptr<platform::ui::Bitmap> screenPicture();
// A part of the same picture, in screen points (origin bottom-left), at the
// given pixels per point: what a person sees through a magnifier. Nothing
// when the region misses the screen or the scale is not between 1 and 4.
std::shared_ptr<platform::ui::Bitmap> screenPicture(platform::Rect region, double scale);
// Writes the picture, or a region of it, as PNG to a path on this machine
// (not the simulated disk); the reason when it cannot.
std::optional<std::string> writeScreenPicture(const std::string& path);
std::optional<std::string> writeScreenPicture(const std::string& path, platform::Rect region, double scale);

}  // namespace desktop
