#pragma once

#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace orvane {

// One application as the controller knows it: identifier (bundle id or
// bundle path), display name, bundle path and strip policy.
struct AppEntry {
    std::string id;
    std::string name;
    std::string path;
    std::string policy;

    friend bool operator==(const AppEntry&, const AppEntry&) = default;
};

}  // namespace orvane
