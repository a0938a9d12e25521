#pragma once

// The workspace of the simulated Mac: running applications, notifications,
// opening applications and URLs, icons, revealing files and the reduce-motion
// setting. Requests that leave the system (URLs, file viewer) are recorded.

#include <nlohmann/json_fwd.hpp>

namespace desktop {

// Reads "reduceMotion" and forgets recorded requests.
void resetWorkspace(const nlohmann::json& scene);
// Recorded requests and opens.
nlohmann::json workspaceState();

}  // namespace desktop
