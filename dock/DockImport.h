#pragma once

// Reads the applications the Dock keeps ("persistent-apps" of the Dock's
// preferences) as app records for the strip, Finder first. Only reads.

#include <nlohmann/json_fwd.hpp>

namespace dock {

// {"apps": [app records], "skipped": [texts], "sourceCount": n, "readable": bool}.
// Never fails: every unusable tile ends as a line in "skipped".
nlohmann::json dockImport();

}  // namespace dock
