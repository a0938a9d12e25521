#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/AppEntry.h"
#include "controller/ExtrasDetection.h"
#include "platform/Workspace.h"

namespace platform::ui {
class StatusItem;
class Window;
}  // namespace platform::ui

namespace orvane {

class StripView;

// What the controller holds between calls, in the order its state is
// described: the host's configuration, what the desktop last reported, the
// entries computed from both and the objects it put on screen. The
// controller alone writes it; the bridge, the fuzzer and tests read it.
struct ControllerState {
    bool qaMode = false;
    std::shared_ptr<platform::ui::Window> qaPreviewWindow;
    // False once the host suspended keep-hidden (dockSuspend) or never asked for it.
    bool dockPersistent = false;
    std::shared_ptr<platform::ui::StatusItem> item;
    std::shared_ptr<StripView> strip;
    bool centered = false;
    std::shared_ptr<platform::ui::Window> centerPanel;
    std::string lastAction;
    std::vector<AppEntry> pinned;
    std::vector<AppEntry> entries;
    std::vector<std::string> hidden;
    std::vector<platform::RunningApp> running;
    int maxIcons = 5;
    bool showRunning = true;
    bool autoDedup = true;
    Detections detections;
    bool scanning = false;
    // A refresh that would change the slots came while the pointer was inside
    // the strip; it is applied when the pointer leaves.
    bool pendingRefresh = false;
    // Bumped whenever a scan's answer would be stale; a late answer of an older epoch is dropped.
    std::uint64_t detectionEpoch = 0;
};

}  // namespace orvane
