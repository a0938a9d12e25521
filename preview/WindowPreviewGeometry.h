#pragma once

#include "platform/Geometry.h"

namespace orvane::WindowPreviewGeometry {

// The pixel size a window of the given size in points is captured at: twice
// its size, or less so that the long edge stays within 1440 pixels; each
// side at least one pixel. Anything but a finite, positive size gives 1 x 1.
platform::Size pixelSize(platform::Size size);

}  // namespace orvane::WindowPreviewGeometry
