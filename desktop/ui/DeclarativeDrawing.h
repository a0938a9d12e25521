#pragma once

// Draws the declarative toolkit's display list through the canvas.

#include <cstddef>
#include <vector>

#include "desktop/ui/DeclarativeLayout.h"

namespace platform::ui { class Canvas; }

namespace desktop::ui {

// Draws the paints (laid out with a top-left origin) on a canvas in the
// hosting view's coordinates (bottom-left origin, viewHeight high). Returns
// how many list rows were in view and drawn.
std::size_t drawPaints(platform::ui::Canvas& canvas, const std::vector<Paint>& paints, double viewHeight);

}  // namespace desktop::ui
