#pragma once

#include "platform/Geometry.h"

namespace platform::ui {

// A pointer event as delivered to views.
struct Event {
    enum class Type { mouseMoved, mouseEntered, mouseExited, leftMouseDown, leftMouseUp, rightMouseDown, scrollWheel };
    Type type = Type::mouseMoved;
    Point locationInWindow;
    Point screenLocation;
    double scrollingDeltaX = 0;
    double scrollingDeltaY = 0;
    bool hasPreciseScrollingDeltas = false;
    int windowNumber = 0;
};

// The pointer's location in screen coordinates at this moment.
Point mouseLocation();

}  // namespace platform::ui
