// Placeholder until the disk lands.
#include "desktop/Disk.h"

#include <nlohmann/json.hpp>

namespace desktop {
static std::string root = "/tmp/orvane-disk";
void resetDisk(const nlohmann::json&) {}
std::string diskRoot() { return root; }
std::string resolve(const std::string& absolutePath) { return root + absolutePath; }
nlohmann::json diskState() { return nlohmann::json::object(); }
}  // namespace desktop
