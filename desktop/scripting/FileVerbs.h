#pragma once

// The scripting verbs of the simulated Mac's disk: make a folder, as a person
// would in the file manager before a host saves into it, and pull a file off
// the disk onto this machine, as one copies a file off a device.

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace desktop {

// Handles "mkdir PATH" and "pull PATH DEST"; nothing when the verb is another
// one. line is the whole verb line (the last path may hold spaces).
std::optional<nlohmann::json> fileVerb(const std::vector<std::string>& words, const std::string& line);

}  // namespace desktop
