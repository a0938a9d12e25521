#pragma once

// The simulated Mac starts itself from the environment the first time the
// library reaches for a platform service, as a real system is simply there.

namespace desktop {

// Resets the desktop from ORVANE_SCENE and ORVANE_CLOCK (else the embedded
// default scene on the real clock) unless a scene was already set.
void ensureStarted();

}  // namespace desktop
