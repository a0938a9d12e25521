#pragma once

// The applications installed on the machine, for the settings window's
// picker: one record per bundle identifier, the Finder included, sorted by
// name as the Finder sorts.

#include <nlohmann/json_fwd.hpp>

namespace catalogue {

// An array of app records ({"id","name","path","policy"}). Never fails: a
// folder that is missing or unreadable contributes nothing.
nlohmann::json installedApps();

}  // namespace catalogue
