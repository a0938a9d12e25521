#pragma once

// One process of the simulated Mac as the workspace hands it out: the fixed
// facts of its launch and live flags that change as it is activated or quits,
// readable from any thread like the platform's running-application objects.

#include <atomic>
#include <optional>
#include <string>

#include "platform/Workspace.h"

namespace desktop {

struct AppIdentity {
    std::optional<std::string> bundleId;
    std::string name;
    std::optional<std::string> path;
    platform::ActivationPolicy policy = platform::ActivationPolicy::regular;
};

class SimulatedRunningApplication final : public platform::RunningApplication {
public:
    SimulatedRunningApplication(int pid, AppIdentity identity) : pid_(pid), identity_(std::move(identity)) {}

    int processIdentifier() const override { return pid_; }
    std::optional<std::string> bundleIdentifier() const override { return identity_.bundleId; }
    std::optional<std::string> bundlePath() const override { return identity_.path; }
    std::optional<std::string> localizedName() const override { return identity_.name; }
    platform::ActivationPolicy activationPolicy() const override { return identity_.policy; }
    bool isTerminated() const override { return terminated_.load(); }
    bool isActive() const override { return active_.load(); }
    bool isHidden() const { return hidden_.load(); }

    const AppIdentity& identity() const { return identity_; }
    void setTerminated() { terminated_ = true; active_ = false; }
    void setActive(bool value) { active_ = value; }
    void setHidden(bool value) { hidden_ = value; }

private:
    const int pid_;
    const AppIdentity identity_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> active_{false};
    std::atomic<bool> hidden_{false};
};

}  // namespace desktop
