#pragma once

// The Dock as the simulated Mac draws it on its screen picture: the shelf
// along the bottom of the first screen with the Dock's kept applications,
// the other running ones and the kept folders, as its preferences list them.

#include "platform/Geometry.h"

namespace desktop::ui { class CairoCanvas; }

namespace desktop {

// Draws the Dock within area (the strip of the screen below its visible
// frame, in the canvas's points) when a Dock runs and is not set to hide.
void drawDock(desktop::ui::CairoCanvas& canvas, platform::Rect area);

}  // namespace desktop
