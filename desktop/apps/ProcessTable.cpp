// The processes of the simulated Mac, standing in for the kernel's process
// table and the window server's notion of the active application. Every change
// posts the workspace notification the platform posts for it.

#include "desktop/apps/ProcessTable.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "desktop/apps/SimulatedNotificationCenter.h"
#include "desktop/permissions/AccessibilityMirror.h"
#include "desktop/scene/SceneValues.h"
#include "desktop/windowserver/FrameAutosave.h"
#include "desktop/windowserver/WindowServer.h"

namespace desktop {
namespace {

namespace note = platform::notification;
constexpr const char* didHideApplication = "NSWorkspaceDidHideApplicationNotification";
constexpr const char* finderBundleId = "com.apple.finder";

// The host application when the scene does not describe it.
constexpr const char* defaultHostBundleId = "com.velisk.orvane";
constexpr const char* defaultHostName = "岚舟";
constexpr const char* defaultHostPath = "/Applications/岚舟.app";

platform::ActivationPolicy policyNamed(const std::optional<std::string>& name) {
    if (name == "accessory") return platform::ActivationPolicy::accessory;
    if (name == "prohibited") return platform::ActivationPolicy::prohibited;
    return platform::ActivationPolicy::regular;
}

const char* policyName(platform::ActivationPolicy policy) {
    switch (policy) {
        case platform::ActivationPolicy::accessory: return "accessory";
        case platform::ActivationPolicy::prohibited: return "prohibited";
        default: return "regular";
    }
}

// "/Applications/Safari.app" → "Safari".
std::string nameFromPath(const std::string& path) {
    std::string name = path;
    while (name.size() > 1 && name.back() == '/') name.pop_back();
    if (auto slash = name.rfind('/'); slash != std::string::npos) name = name.substr(slash + 1);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".app") == 0) name.resize(name.size() - 4);
    return name;
}

AppIdentity identityFromScene(const nlohmann::json& app) {
    AppIdentity identity;
    identity.bundleId = scene::string(app, "bundleId");
    identity.path = scene::string(app, "path");
    identity.policy = policyNamed(scene::string(app, "activationPolicy"));
    if (auto name = scene::string(app, "name")) identity.name = *name;
    else if (identity.path) identity.name = nameFromPath(*identity.path);
    else if (identity.bundleId) identity.name = *identity.bundleId;
    return identity;
}

void notify(const char* name) { workspaceNotificationCenter().post(name); }

}  // namespace

ProcessTable& ProcessTable::shared() {
    static auto* table = new ProcessTable();
    return *table;
}

bool ProcessTable::pidInUse(int pid) const {
    return std::any_of(running_.begin(), running_.end(),
                       [&](const Process& p) { return p->processIdentifier() == pid; });
}

ProcessTable::Process ProcessTable::start(Known& app, std::optional<int> pid) {
    int chosen = pid && PidAllocator::isAcceptable(*pid) && !pidInUse(*pid)
                     ? *pid
                     : pids_.allocate([this](int candidate) { return pidInUse(candidate); });
    app.process = std::make_shared<SimulatedRunningApplication>(chosen, app.identity);
    running_.push_back(app.process);
    if (!app.isHost) AccessibilityMirror::shared().publish(chosen, ExtrasRecord::fromScene(app.sceneApp, chosen));
    return app.process;
}

nlohmann::json ProcessTable::reset(const nlohmann::json& scene) {
    apps_.clear();
    running_.clear();
    pids_.reset();
    AccessibilityMirror::shared().clear();
    launchServices_.reset(scene::member(scene, "launchServices"));

    nlohmann::json normalized = scene.is_object() ? scene : nlohmann::json::object();
    nlohmann::json apps = nlohmann::json::array();
    const auto& sceneApps = scene::member(scene, "apps");
    if (sceneApps.is_array()) {
        for (const auto& sceneApp : sceneApps) {
            if (!sceneApp.is_object()) continue;
            Known app{identityFromScene(sceneApp), sceneApp, nullptr, false};
            nlohmann::json described = sceneApp;
            bool running = scene::boolean(sceneApp, "running", true);
            if (running) {
                auto pid = scene::number(sceneApp, "pid");
                std::optional<int> wanted;
                if (pid && *pid >= 1 && *pid <= INT_MAX && *pid == std::floor(*pid) &&
                    PidAllocator::isAcceptable(static_cast<long long>(*pid)))
                    wanted = static_cast<int>(*pid);
                start(app, wanted);
                app.process->setHidden(scene::boolean(sceneApp, "hidden", false));
                described["pid"] = app.process->processIdentifier();
            } else {
                described.erase("pid");
            }
            described["running"] = running;
            if (app.identity.bundleId && app.identity.path)
                launchServices_.add(*app.identity.bundleId, *app.identity.path);
            apps_.push_back(std::move(app));
            apps.push_back(std::move(described));
        }
    }

    const auto& sceneHost = scene::member(scene, "host");
    Known host{identityFromScene(sceneHost), nlohmann::json::object(), nullptr, true};
    if (!host.identity.bundleId) host.identity.bundleId = defaultHostBundleId;
    if (!scene::string(sceneHost, "name")) host.identity.name = defaultHostName;
    if (!host.identity.path) host.identity.path = defaultHostPath;
    // The host is this very process, not a simulated one.
    host.process = std::make_shared<SimulatedRunningApplication>(static_cast<int>(getpid()), host.identity);
    running_.push_back(host.process);
    host_ = host.process;
    setWindowFrameOwner(*host.identity.bundleId);
    launchServices_.add(*host.identity.bundleId, *host.identity.path);
    apps_.push_back(std::move(host));

    if (auto active = scene::string(scene, "active"))
        if (auto index = find(*active, true)) apps_[*index].process->setActive(true);

    normalized["apps"] = std::move(apps);
    normalized["host"] = {{"bundleId", *host_->bundleIdentifier()},
                          {"name", *host_->localizedName()},
                          {"path", *host_->bundlePath()},
                          {"activationPolicy", policyName(host_->activationPolicy())},
                          {"pid", host_->processIdentifier()}};
    return normalized;
}

std::vector<platform::RunningApp> ProcessTable::runningApplications() const {
    return {running_.begin(), running_.end()};
}

std::optional<std::size_t> ProcessTable::find(const std::string& id, std::optional<bool> running) const {
    auto matching = [&](auto&& matches) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < apps_.size(); ++i)
            if (matches(apps_[i].identity) && (!running || (apps_[i].process != nullptr) == *running)) return i;
        return std::nullopt;
    };
    if (id.empty()) return std::nullopt;
    if (auto i = matching([&](const AppIdentity& a) { return a.bundleId == id; })) return i;
    if (auto i = matching([&](const AppIdentity& a) { return a.name == id; })) return i;
    return matching([&](const AppIdentity& a) { return a.path == id; });
}

std::optional<std::size_t> ProcessTable::findByPath(const std::string& path) const {
    std::string wanted = path;
    while (wanted.size() > 1 && wanted.back() == '/') wanted.pop_back();
    for (std::size_t i = 0; i < apps_.size(); ++i)
        if (apps_[i].identity.path == wanted) return i;
    return std::nullopt;
}

std::optional<std::size_t> ProcessTable::findRunningNamed(const std::string& name) const {
    for (std::size_t i = 0; i < apps_.size(); ++i)
        if (apps_[i].process && apps_[i].identity.name == name) return i;
    return std::nullopt;
}

std::size_t ProcessTable::add(AppIdentity identity) {
    if (identity.name.empty() && identity.path) identity.name = nameFromPath(*identity.path);
    apps_.push_back({std::move(identity), nlohmann::json::object(), nullptr, false});
    return apps_.size() - 1;
}

bool ProcessTable::launch(std::size_t index) {
    if (index >= apps_.size() || apps_[index].process) return false;
    auto process = start(apps_[index], std::nullopt);
    addWindowsOfProcess(process->processIdentifier(), scene::member(apps_[index].sceneApp, "windows"));
    notify(note::didLaunchApplication);
    return true;
}

void ProcessTable::setActive(const Process& process) {
    for (const auto& p : running_) p->setActive(p == process);
}

bool ProcessTable::quit(std::size_t index) {
    if (index >= apps_.size() || apps_[index].isHost || !apps_[index].process) return false;
    Process process = std::move(apps_[index].process);
    bool wasActive = process->isActive();
    process->setTerminated();
    running_.erase(std::remove(running_.begin(), running_.end(), process), running_.end());
    AccessibilityMirror::shared().remove(process->processIdentifier());
    removeWindowsOfProcess(process->processIdentifier());
    notify(note::didTerminateApplication);
    // The system hands activation on when the active application quits.
    if (wasActive)
        if (auto finder = find(finderBundleId, true)) activate(*finder);
    return true;
}

bool ProcessTable::activate(std::size_t index) {
    if (index >= apps_.size() || !apps_[index].process) return false;
    const Process& process = apps_[index].process;
    if (process->isHidden()) unhide(index);
    if (process->isActive()) return true;
    setActive(process);
    notify(note::didActivateApplication);
    return true;
}

bool ProcessTable::activateHost() {
    for (std::size_t i = 0; i < apps_.size(); ++i)
        if (apps_[i].isHost) return activate(i);
    return false;
}

bool ProcessTable::hide(std::size_t index) {
    if (index >= apps_.size() || !apps_[index].process) return false;
    if (apps_[index].process->isHidden()) return true;
    apps_[index].process->setHidden(true);
    setProcessWindowsHidden(apps_[index].process->processIdentifier(), true);
    notify(didHideApplication);
    return true;
}

bool ProcessTable::unhide(std::size_t index) {
    if (index >= apps_.size() || !apps_[index].process) return false;
    if (!apps_[index].process->isHidden()) return true;
    apps_[index].process->setHidden(false);
    setProcessWindowsHidden(apps_[index].process->processIdentifier(), false);
    notify(note::didUnhideApplication);
    return true;
}

bool ProcessTable::relaunch(std::size_t index) { return quit(index) && launch(index); }

nlohmann::json ProcessTable::state() const {
    nlohmann::json running = nlohmann::json::array();
    nlohmann::json active = nullptr;
    for (const auto& p : running_) {
        nlohmann::json app = {{"pid", p->processIdentifier()},
                              {"name", p->identity().name},
                              {"activationPolicy", policyName(p->activationPolicy())},
                              {"active", p->isActive()},
                              {"hidden", p->isHidden()},
                              {"host", p == host_}};
        app["bundleId"] = p->bundleIdentifier() ? nlohmann::json(*p->bundleIdentifier()) : nlohmann::json();
        app["path"] = p->bundlePath() ? nlohmann::json(*p->bundlePath()) : nlohmann::json();
        if (p->isActive()) active = app["bundleId"];
        running.push_back(std::move(app));
    }
    return {{"running", std::move(running)}, {"active", std::move(active)}, {"launchServices", launchServices_.state()}};
}

}  // namespace desktop
