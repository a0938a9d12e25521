#pragma once

// desktop/capture/ stands in for the screen-recording service: listing windows,
// capturing one at a requested size, and the user's and system's answers.
//
// The screen-recording service of the simulated Mac: reset from a scene and
// reported in the desktop's state.

#include <nlohmann/json_fwd.hpp>

#include "platform/ScreenCapture.h"

namespace desktop {

// The largest picture one capture makes, per side and in all; larger
// requests fail with the service's invalid-parameter error.
inline constexpr int largestCaptureSide = 16384;
inline constexpr long long largestCapturePixels = 64LL * 1024 * 1024;

// Reads "captureLatency" and "captureOutcomes" and forgets the counts.
void resetScreenCapture(const nlohmann::json& scene);
// {"latency","outcomes","listings","captures"}: how many listings and
// captures were asked for since the scene was set.
nlohmann::json screenCaptureState();
// The one process-wide service behind platform::screenCapture().
platform::ScreenCapture& simulatedScreenCapture();

}  // namespace desktop
