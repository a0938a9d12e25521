// Processes of the simulated Mac by name, as the system's process tools see
// them: killall finds a process by its name and can make it start again.

#include "desktop/apps/Processes.h"

#include "desktop/apps/ProcessTable.h"

namespace desktop {

bool processRunning(const std::string& name) {
    return !name.empty() && ProcessTable::shared().findRunningNamed(name).has_value();
}

bool relaunchProcess(const std::string& name) {
    auto& table = ProcessTable::shared();
    auto index = name.empty() ? std::nullopt : table.findRunningNamed(name);
    // The host is this real process; the simulation cannot restart it.
    if (!index || table.isHost(*index)) return false;
    return table.relaunch(*index);
}

}  // namespace desktop
