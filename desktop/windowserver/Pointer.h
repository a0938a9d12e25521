#pragma once

// The simulated Mac's pointer and the routing of its events to views.

#include <memory>
#include <optional>
#include <string>

#include "desktop/windowserver/WindowList.h"
#include "platform/Geometry.h"

namespace platform::ui { class View; }

namespace desktop {

// Where a pointer event landed: the frontmost window under the pointer (ours
// or foreign) and, in one of ours, the deepest view under it.
struct PointerHit {
    std::optional<WindowRecord> window;
    std::shared_ptr<platform::ui::View> view;
    // A click on a title-bar button of one of our windows: "close", "miniaturize" or "zoom".
    std::string windowButton;
};

// Puts the pointer somewhere without sending anything and forgets which
// tracking areas it was in.
void resetPointer(platform::Point location);
platform::Point pointerLocation();

// Moves the pointer: tracking areas it left report their exit (innermost
// first), then those it entered report their entry (outermost first). While
// a menu is open the areas hear nothing.
PointerHit movePointer(platform::Point location);
enum class MouseButton { left, right };
// Moves the pointer there, then sends the button's mouse-down to the hit view.
// A left click on the close button of a window whose title bar lies over its
// content closes the window as that button does (asking shouldClose first).
PointerHit clickPointer(platform::Point location, MouseButton button);
// A scroll-wheel event at the pointer: line deltas, or pixel deltas when precise.
PointerHit scrollPointer(double deltaX, double deltaY, bool precise);

}  // namespace desktop
