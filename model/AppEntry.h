#pragma once

#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "model/JsonOutput.h"

namespace platform { class RunningApplication; }

namespace orvane {

// One application as the controller knows it: identifier (bundle id or
// bundle path), display name, bundle path and strip policy.
struct AppEntry {
    std::string id;
    std::string name;
    std::string path;
    std::string policy;

    // From the four-key dictionary form; only string values count. A usable
    // (non-empty) path is required; id falls back to the path, name to the
    // path's last component without its extension, policy to "auto".
    static std::optional<AppEntry> fromDictionary(const nlohmann::json& dictionary);
    // From a running application; never fails, but the path may be empty.
    static AppEntry fromRunningApplication(const platform::RunningApplication& app);

    // Exactly the four keys id, name, path and policy.
    void write(JsonOutput& out) const;
    nlohmann::json dictionary() const;

    friend bool operator==(const AppEntry&, const AppEntry&) = default;
};

namespace policy {
inline constexpr const char* automatic = "auto";
inline constexpr const char* always = "always";
inline constexpr const char* whileNotRunning = "running";
}  // namespace policy

}  // namespace orvane
