#pragma once

#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "model/AppEntry.h"

namespace orvane {

// The host's configuration as configure reads it. Every key is optional and
// a value of the wrong type counts as missing, so every read sets all six
// values: a key left out returns to its default.
struct Configuration {
    static constexpr int minIcons = 2;
    static constexpr int maxIconsLimit = 12;
    static constexpr int defaultMaxIcons = 5;

    bool dockPersistent = false;
    std::vector<AppEntry> pinned;
    int maxIcons = defaultMaxIcons;
    bool showRunning = true;
    bool autoDedup = true;
    bool centered = false;

    static Configuration read(const nlohmann::json& configuration);
};

}  // namespace orvane
