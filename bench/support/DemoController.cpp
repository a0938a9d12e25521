#include "bench/support/DemoController.h"

#include <nlohmann/json.hpp>

#include "controller/ControllerSlot.h"
#include "controller/NativeController.h"
#include "desktop/Desktop.h"
#include "preview/ScreenCaptureAccess.h"

namespace orvane::bench {

using nlohmann::json;

std::shared_ptr<NativeController> startOnDemoMac(OtherRunningApps others) {
    json scene = desktop::defaultScene();
    scene["screenCaptureGranted"] = true;
    desktop::reset(scene, desktop::Clock::manual);
    ScreenCaptureAccess::reset();
    auto controller = NativeController::create();
    controllerSlot() = controller;
    controller->start();
    controller->configure({{"pinned", json::array({
        {{"id", "com.apple.finder"}, {"path", "/System/Library/CoreServices/Finder.app"}},
        {{"id", "com.apple.Safari"}, {"path", "/Applications/Safari.app"}},
        {{"id", "com.apple.Notes"}, {"path", "/System/Applications/Notes.app"}}})}, {"showRunning", others == OtherRunningApps::shown}});
    return controller;
}

void finish(const std::shared_ptr<NativeController>& controller) {
    controller->stop();
    controllerSlot().reset();
}

}  // namespace orvane::bench
