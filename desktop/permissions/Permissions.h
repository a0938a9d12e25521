#pragma once

// desktop/permissions/ stands in for the privacy database and the accessibility
// server: which permissions this process holds, and what other processes
// answer when asked for their menu-bar extras.
//
// The privacy permissions of the simulated Mac (the system's privacy
// database): whether this process is trusted for accessibility and may record
// the screen. Thread-safe; the scene sets them and the grant/revoke verbs change them.
//
// Screen recording has two sides, as on the real system: what the preflight
// check answers, and whether the permission is in force for this process (a
// grant often takes effect only after a relaunch, and the two can disagree).
// Listings and captures follow the second.

#include <nlohmann/json_fwd.hpp>

namespace desktop::permissions {

void reset(const nlohmann::json& scene);
bool accessibilityTrusted();
void setAccessibilityTrusted(bool trusted);
// How often the system's accessibility prompt was asked for.
int accessibilityPrompts();
void recordAccessibilityPrompt();
// The preflight check's answer.
bool screenCaptureGranted();
void setScreenCaptureGranted(bool granted);
// Whether listings and captures of this process are allowed.
bool screenCaptureInForce();
void setScreenCaptureInForce(bool inForce);
// How often the system's screen-recording prompt was asked for.
int screenCapturePrompts();
void recordScreenCapturePrompt();
nlohmann::json state();

}  // namespace desktop::permissions
