#pragma once

// The simulated Mac's disk: a folder of this machine stands in for "/", so
// every absolute path the logic uses lands under it and never outside.

#include <string>

#include <nlohmann/json_fwd.hpp>

namespace desktop {

// Chooses the root: the scene's "disk", else ORVANE_DISK, else the demo disk
// (written on first use). Drops cached preference domains.
void resetDisk(const nlohmann::json& scene);
std::string diskRoot();
// The real path under the root for an absolute path of the simulated Mac.
std::string resolve(const std::string& absolutePath);
// Recorded tool runs and preference writes, for desktop::state().
nlohmann::json diskState();

}  // namespace desktop
