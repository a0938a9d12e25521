#pragma once

// The simulated Mac's whole visible state, gathered from its parts for the
// "state" verb and the scripting API.

#include <nlohmann/json_fwd.hpp>

namespace desktop {

// Running apps, windows, status items, the open menu, the pointer, the disk,
// the permissions, recorded requests and the clock, in one object.
nlohmann::json desktopState();

}  // namespace desktop
