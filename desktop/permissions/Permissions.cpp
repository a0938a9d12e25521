// The privacy permissions of the simulated Mac, standing in for the system's
// privacy database: flags the scene sets and the scripting verbs flip.

#include "desktop/permissions/Permissions.h"

#include <atomic>

#include <nlohmann/json.hpp>

#include "desktop/scene/SceneValues.h"

namespace desktop::permissions {
namespace {
std::atomic<bool> trusted{false};
std::atomic<int> prompts{0};
std::atomic<bool> screenCapture{false};
std::atomic<bool> screenCaptureEffective{false};
std::atomic<int> screenPrompts{0};
}  // namespace

void reset(const nlohmann::json& scene) {
    trusted = scene::boolean(scene, "accessibilityTrusted", false);
    screenCapture = scene::boolean(scene, "screenCaptureGranted", false);
    screenCaptureEffective = scene::boolean(scene, "screenCaptureInForce", screenCapture.load());
    prompts = 0;
    screenPrompts = 0;
}

bool accessibilityTrusted() { return trusted.load(); }
void setAccessibilityTrusted(bool value) { trusted = value; }
int accessibilityPrompts() { return prompts.load(); }
void recordAccessibilityPrompt() { ++prompts; }
bool screenCaptureGranted() { return screenCapture.load(); }
void setScreenCaptureGranted(bool value) { screenCapture = value; }
bool screenCaptureInForce() { return screenCaptureEffective.load(); }
void setScreenCaptureInForce(bool value) { screenCaptureEffective = value; }
int screenCapturePrompts() { return screenPrompts.load(); }
void recordScreenCapturePrompt() { ++screenPrompts; }

nlohmann::json state() {
    return {{"accessibility", {{"trusted", accessibilityTrusted()}, {"prompts", accessibilityPrompts()}}},
            {"screenCapture",
             {{"granted", screenCaptureGranted()}, {"inForce", screenCaptureInForce()}, {"prompts", screenCapturePrompts()}}}};
}

}  // namespace desktop::permissions
