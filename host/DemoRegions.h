#pragma once

#include "host/DemoSteps.h"

namespace host {

// The parts of the screen a demo step is about, worked out from the
// library's snapshot, so that they follow the strip wherever it sits.

// The right end of the menu bar from a little left of the strip to the
// screen's edge: the strip among the other status items and the clock.
ScreenRegion menuBarRegion(const StepScene& scene);
// The strip and the card that hangs from it.
ScreenRegion cardRegion(const StepScene& scene);
// The strip and the menu open under it.
ScreenRegion menuRegion(const StepScene& scene);
// A pop-up button's open menu and the row of the window around it.
ScreenRegion popUpRegion(const StepScene& scene);

}  // namespace host
