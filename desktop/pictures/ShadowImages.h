#pragma once

// The blurred shadows the simulated window server casts under windows and
// menus, kept between screen pictures as the compositor keeps a window's
// shadow: the blur depends only on the shape's size, its corner radius and
// the shadow's softness and strength, never on where the shape is.

#include <memory>

#include <cairo.h>

#include "platform/Geometry.h"

namespace desktop::chrome {

// Pixels of a shadow image per point: the shadow's softness needs no detail.
inline constexpr double shadowImageScale = 0.5;

// Black with the blurred coverage of a rounded rectangle of the size as its
// alpha, at shadowImageScale, the shape inset by margin points on every side.
// Made on first use and reused for the same size, radius, blur and opacity;
// nothing when the size is not finite and positive or the image too large.
std::shared_ptr<cairo_surface_t> shadowImage(platform::Size shape, double radius, double blur, double opacity);

// Drops every kept image, so that the next shadows are made afresh.
void forgetShadowImages();

// Points around the shape that its shadow image spans on each side.
inline double shadowMargin(double blur) { return blur * 1.5; }

}  // namespace desktop::chrome
