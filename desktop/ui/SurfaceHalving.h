#pragma once

// Shrinking a large picture before it is drawn much smaller, as the
// platform's image drawing does with its reduced copies: halving first
// keeps the final, filtered scale below two, where filtering is cheap,
// instead of convolving every source pixel at full size.

#include <cairo.h>

namespace desktop::ui {

// Halves the surface while it is at least twice the given device size in
// both directions; each halving averages two by two pixels. Takes the
// surface and returns the one to draw (the same when no halving applies),
// which the caller destroys.
cairo_surface_t* halvedForDrawing(cairo_surface_t* surface, double deviceWidth, double deviceHeight);

}  // namespace desktop::ui
