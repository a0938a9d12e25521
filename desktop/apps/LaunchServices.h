#pragma once

// Launch Services of the simulated Mac: which application bundle answers to a
// bundle identifier. The scene's registrations come first, then every known
// application's own bundle.

#include <map>
#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace desktop {

class LaunchServices {
public:
    void reset(const nlohmann::json& registrations);
    // Registers unless the identifier is already known (the first wins).
    void add(const std::string& bundleId, const std::string& path);
    std::optional<std::string> applicationPath(const std::string& bundleId) const;
    // The identifier registered for a bundle path.
    std::optional<std::string> bundleIdentifier(const std::string& path) const;
    nlohmann::json state() const;

private:
    std::map<std::string, std::string> paths_;
};

}  // namespace desktop
