#pragma once

// Where the playground looks first. Drawing the whole screen of the
// simulated Mac takes tens of milliseconds, so while the pointer moves and
// the card animates the host draws only the parts that such changes touch
// (where the pointer was and is, the menu bar with the strip, where the card
// was and is), and the rest of the screen a band at a time, a few times a
// second. The parts are aligned to the frame's tiles, so that pasting them
// into the last picture gives exactly the pixels a whole picture would have.

#include <optional>
#include <vector>

#include "platform/Geometry.h"

namespace host {

struct LookInputs {
    platform::Rect screen;                  // the first screen, in points, origin bottom-left
    double scale = 2;                       // its pixels per point
    double menuBarBottom = 0;               // the y where the menu bar's band begins
    platform::Point pointerThen, pointerNow;
    std::optional<platform::Rect> cardThen, cardNow;  // origin bottom-left
};

// The rectangles to draw (in points, origin bottom-left, on tile
// boundaries, inside the screen), or nothing when drawing the whole screen
// is as cheap.
std::optional<std::vector<platform::Rect>> partsToDraw(const LookInputs& inputs, int tilePixels);

}  // namespace host
