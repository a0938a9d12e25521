#pragma once

// What the simulated system did to its disk and processes since the last
// reset: tool runs, preference writes, and the Dock reloading its preferences.
// Shown in diskState() so that tests and the host can see side effects.

#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace desktop {

void logToolRun(const std::string& executable, const std::vector<std::string>& arguments, const nlohmann::json& outcome);
void logPreferenceWrite(const std::string& domain);
// The Dock started again and read these values of its preferences.
void logDockReload(const nlohmann::json& preferences);
nlohmann::json diskLog();
void clearDiskLog();

}  // namespace desktop
