// The simulated Mac's state as scripts read it: each part reports its own
// members and this merges them, so a verb and the scripting API agree.

#include "desktop/scripting/DesktopState.h"

#include <nlohmann/json.hpp>

#include "desktop/apps/ProcessTable.h"
#include "desktop/apps/SimulatedWorkspace.h"
#include "desktop/capture/SimulatedScreenCapture.h"
#include "desktop/files/Disk.h"
#include "desktop/permissions/Permissions.h"
#include "desktop/runloop/MainRunLoop.h"
#include "desktop/windowserver/WindowServer.h"

namespace desktop {

nlohmann::json desktopState() {
    nlohmann::json merged = windowServerState();
    if (!merged.is_object()) merged = nlohmann::json::object();
    nlohmann::json disk = diskState();
    if (disk.is_object()) merged.update(disk);
    auto& loop = MainRunLoop::shared();
    merged.update(ProcessTable::shared().state());
    merged.update(permissions::state());
    merged.update(workspaceState());
    merged["capture"] = screenCaptureState();
    merged["clock"] = loop.clock() == Clock::manual ? "manual" : "real";
    merged["now"] = loop.now();
    merged["pendingJobs"] = loop.pendingJobs();
    return merged;
}

}  // namespace desktop
