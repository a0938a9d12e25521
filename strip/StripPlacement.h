#pragma once

#include "platform/Geometry.h"

namespace orvane::StripPlacement {

// The status item's length while the strip is centred: it shows only the
// product mark, one manager control wide.
inline constexpr double centeredItemLength = 29;

// Where a strip of the given size sits when it is shown centred at the top
// of screen (global coordinates): its vertical centre on the centre of the
// menu-bar band, which is at least as tall as the strip.
platform::Rect frame(platform::Rect screen, double menuBarHeight, double width, double height);

}  // namespace orvane::StripPlacement
