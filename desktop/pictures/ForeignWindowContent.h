#pragma once

// The inside of another application's window as the simulated Mac imagines
// it: the window server knows only a window's number, title, frame and
// colour, so the content is made up from the number, the same every time for
// the same window and different between windows.

#include <optional>

#include "platform/Geometry.h"
#include "platform/ui/Appearance.h"
#include "platform/ui/Color.h"

namespace desktop::ui { class CairoCanvas; }

namespace desktop {

// The body colour another application's window is drawn in: the scene's
// colour, else the window background of the appearance. Applications follow
// the system's appearance as most Mac apps do, so in a dark appearance a
// light scene colour turns into its dark counterpart, keeping a trace of its
// hue; a colour the scene made dark stays as it is.
platform::ui::Rgba foreignWindowBody(std::optional<platform::ui::Rgba> sceneColour, platform::ui::AppearanceName appearance);

// Fills area (points, y upwards) with the body colour and a made-up layout
// of text lines, panels and blocks seeded by the window number.
void drawForeignWindowContent(desktop::ui::CairoCanvas& canvas, platform::Rect area, int windowNumber,
                              platform::ui::Rgba body);

}  // namespace desktop
