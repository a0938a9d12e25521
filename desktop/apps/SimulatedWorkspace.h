#pragma once

// desktop/apps/ stands in for the applications of the Mac and the workspace that
// tracks them: processes, launching, Launch Services, icons, the notification
// centres and the command-line tools that act on processes.
//
// The workspace of the simulated Mac: running applications, notifications,
// opening applications and URLs, icons, revealing files and the reduce-motion
// setting. Requests that leave the system (URLs, file viewer) are recorded.

#include <nlohmann/json_fwd.hpp>

#include "platform/Workspace.h"

namespace desktop {

// Reads "reduceMotion" and forgets recorded requests.
void resetWorkspace(const nlohmann::json& scene);
// The person's reduce-motion setting, read by applications as they animate.
void setReduceMotion(bool reduce);
// Recorded requests and opens.
nlohmann::json workspaceState();
// The one process-wide workspace behind platform::workspace().
platform::Workspace& simulatedWorkspace();

}  // namespace desktop
