// Where platform/ meets the simulated Mac: each accessor of a service that
// the scene shapes starts the desktop from the environment on first use, as
// a real system is simply there, and hands out the one process-wide stand-in
// of its part. Files, preferences and tools need only the disk and define
// their accessors beside themselves.

#include "desktop/Startup.h"
#include "desktop/apps/HostApplication.h"
#include "desktop/apps/SimulatedNotificationCenter.h"
#include "desktop/apps/SimulatedWorkspace.h"
#include "desktop/capture/SimulatedScreenCapture.h"
#include "desktop/permissions/SimulatedAccessibility.h"
#include "desktop/runloop/MainRunLoop.h"
#include "platform/Accessibility.h"
#include "platform/Application.h"
#include "platform/RunLoop.h"
#include "platform/ScreenCapture.h"
#include "platform/Workspace.h"

namespace platform {

RunLoop& runLoop() {
    desktop::ensureStarted();
    return desktop::MainRunLoop::shared();
}

Workspace& workspace() {
    desktop::ensureStarted();
    return desktop::simulatedWorkspace();
}

NotificationCenter& defaultNotificationCenter() {
    desktop::ensureStarted();
    return desktop::applicationNotificationCenter();
}

Application& application() {
    desktop::ensureStarted();
    return desktop::hostApplication();
}

Accessibility& accessibility() {
    desktop::ensureStarted();
    return desktop::simulatedAccessibility();
}

ScreenCapture& screenCapture() {
    desktop::ensureStarted();
    return desktop::simulatedScreenCapture();
}

}  // namespace platform
