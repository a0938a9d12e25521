#pragma once

// The simulated Mac's command-line tools (platform/Tools.h).

#include <nlohmann/json_fwd.hpp>

namespace desktop {

inline constexpr const char* killallPath = "/usr/bin/killall";

// Takes the scene's "tools" settings, e.g.
// {"killallLaunchFails": {"domain": "NSPOSIXErrorDomain", "code": 13, "description": "..."}}.
void resetTools(const nlohmann::json& scene);

}  // namespace desktop
