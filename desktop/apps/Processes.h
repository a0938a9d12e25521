#pragma once

// Processes of the simulated Mac by name, for the system tools (killall).

#include <string>

namespace desktop {

// Whether a process with this name (an app's name, "Dock" for the Dock) runs.
bool processRunning(const std::string& name);
// Quits and starts again the named process (new pid, terminate and launch
// notifications); false when none runs.
bool relaunchProcess(const std::string& name);

}  // namespace desktop
