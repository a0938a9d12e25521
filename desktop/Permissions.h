#pragma once

// The privacy permissions of the simulated Mac (the system's privacy
// database): whether this process is trusted for accessibility and may record
// the screen. Thread-safe; the scene sets them and the grant/revoke verbs change them.

#include <nlohmann/json_fwd.hpp>

namespace desktop::permissions {

void reset(const nlohmann::json& scene);
bool accessibilityTrusted();
void setAccessibilityTrusted(bool trusted);
// How often the system's accessibility prompt was asked for.
int accessibilityPrompts();
void recordAccessibilityPrompt();
bool screenCaptureGranted();
void setScreenCaptureGranted(bool granted);
nlohmann::json state();

}  // namespace desktop::permissions
