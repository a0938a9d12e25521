#pragma once

// Opening applications on the simulated Mac, as the workspace's
// open-application call does: by bundle path, launching or activating, with
// the answer handed to a completion handler on a thread of the system's own
// after the scene's latency. The scene can make opens fail.

#include <string>

#include <nlohmann/json.hpp>

#include "platform/Workspace.h"

namespace desktop {

class ApplicationLauncher {
public:
    static ApplicationLauncher& shared();

    // Reads "openLatency" and "openFailures" and forgets earlier opens.
    void reset(const nlohmann::json& scene);
    // Main thread.
    void open(const std::string& path, bool activates, platform::OpenCompletion completion);
    // The opens that completed, oldest first.
    nlohmann::json state() const { return opened_; }

private:
    std::optional<platform::Error> configuredFailure(const std::string& path,
                                                     const std::optional<std::string>& bundleId) const;
    std::optional<std::size_t> applicationAt(const std::string& path);

    double latency_ = 0;
    nlohmann::json failures_ = nlohmann::json::object();
    nlohmann::json opened_ = nlohmann::json::array();
};

}  // namespace desktop
