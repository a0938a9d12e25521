#pragma once

// Where an image of a point size lands in a rectangle, by the platform's
// image-scaling rules (shared by image views and buttons).

#include "platform/Geometry.h"

namespace desktop::ui {

// scaling is one of platform::ui::imageScaling.
platform::Rect fitImage(platform::Size image, platform::Rect into, int scaling);

}  // namespace desktop::ui
