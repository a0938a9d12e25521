// Launch Services of the simulated Mac, standing in for the system's database
// of application bundles by identifier.

#include "desktop/apps/LaunchServices.h"

#include <nlohmann/json.hpp>

namespace desktop {

void LaunchServices::reset(const nlohmann::json& registrations) {
    paths_.clear();
    if (!registrations.is_object()) return;
    for (const auto& [bundleId, path] : registrations.items())
        if (path.is_string() && !bundleId.empty()) add(bundleId, path.get<std::string>());
}

void LaunchServices::add(const std::string& bundleId, const std::string& path) {
    if (bundleId.empty() || path.empty()) return;
    paths_.emplace(bundleId, path);
}

std::optional<std::string> LaunchServices::applicationPath(const std::string& bundleId) const {
    auto found = paths_.find(bundleId);
    if (found == paths_.end()) return std::nullopt;
    return found->second;
}

std::optional<std::string> LaunchServices::bundleIdentifier(const std::string& path) const {
    for (const auto& [bundleId, registered] : paths_)
        if (registered == path) return bundleId;
    return std::nullopt;
}

nlohmann::json LaunchServices::state() const { return paths_; }

}  // namespace desktop
