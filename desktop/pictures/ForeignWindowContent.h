#pragma once

// The inside of another application's window as the simulated Mac imagines
// it: the window server knows only a window's number, title, frame and
// colour, so the content is made up from the number, the same every time for
// the same window and different between windows.

#include "platform/Geometry.h"
#include "platform/ui/Color.h"

namespace desktop::ui { class CairoCanvas; }

namespace desktop {

// Fills area (points, y upwards) with the body colour and a made-up layout
// of text lines, panels and blocks seeded by the window number.
void drawForeignWindowContent(desktop::ui::CairoCanvas& canvas, platform::Rect area, int windowNumber,
                              platform::ui::Rgba body);

}  // namespace desktop
