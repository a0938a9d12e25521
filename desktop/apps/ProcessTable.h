#pragma once

// The processes of the simulated Mac: every application the system knows
// (the scene's, ones launched later, and the host application itself), which
// of them run, which is active or hidden. Starting, quitting, activating and
// hiding post the workspace notifications a real system posts. Main thread only.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "desktop/apps/LaunchServices.h"
#include "desktop/apps/PidAllocator.h"
#include "desktop/apps/SimulatedRunningApplication.h"

namespace desktop {

class ProcessTable {
public:
    using Process = std::shared_ptr<SimulatedRunningApplication>;

    static ProcessTable& shared();

    // Rebuilds every process from the scene. Returns the scene with each
    // app's "running" flag and each running app's "pid" filled in (the host's
    // under "host"), so that other parts of the desktop agree on the pids.
    nlohmann::json reset(const nlohmann::json& scene);

    std::vector<platform::RunningApp> runningApplications() const;
    const Process& host() const { return host_; }
    LaunchServices& launchServices() { return launchServices_; }
    const LaunchServices& launchServices() const { return launchServices_; }

    // A known application by bundle identifier, else name, else bundle path;
    // with running given, the first in that state.
    std::optional<std::size_t> find(const std::string& id, std::optional<bool> running = std::nullopt) const;
    std::optional<std::size_t> findByPath(const std::string& path) const;
    // The first running application with this name.
    std::optional<std::size_t> findRunningNamed(const std::string& name) const;
    // Makes an application known (found through Launch Services or on disk).
    std::size_t add(AppIdentity identity);
    const AppIdentity& identity(std::size_t index) const { return apps_[index].identity; }
    Process process(std::size_t index) const { return apps_[index].process; }
    bool isHost(std::size_t index) const { return apps_[index].isHost; }

    // Each returns false, changing nothing, when the request makes no sense
    // (launching a running app, quitting the host or an app that is not running).
    bool launch(std::size_t index);
    bool quit(std::size_t index);
    bool activate(std::size_t index);
    bool hide(std::size_t index);
    bool unhide(std::size_t index);
    // Quits and starts again under a new pid.
    bool relaunch(std::size_t index);
    // Makes the host application the active one (false when it does not run).
    bool activateHost();

    nlohmann::json state() const;

private:
    struct Known {
        AppIdentity identity;
        nlohmann::json sceneApp;  // the scene's description: extras and responsiveness
        Process process;          // while running
        bool isHost = false;
    };
    Process start(Known& app, std::optional<int> pid);
    void setActive(const Process& process);
    bool pidInUse(int pid) const;

    std::vector<Known> apps_;
    std::vector<Process> running_;  // the stable order the workspace reports
    Process host_;
    PidAllocator pids_;
    LaunchServices launchServices_;
};

}  // namespace desktop
