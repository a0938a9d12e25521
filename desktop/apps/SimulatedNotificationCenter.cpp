// The simulated Mac's notification centres, standing in for the workspace's
// notification center and the application's default one, with observers
// registered for the main queue.

#include "desktop/apps/SimulatedNotificationCenter.h"

#include <algorithm>
#include <atomic>

#include "desktop/runloop/MainRunLoop.h"

namespace desktop {
namespace {
// Shared by both centres, so that a token of one is never a token of the other.
std::atomic<std::uint64_t> nextToken{1};
}  // namespace

platform::ObserverToken SimulatedNotificationCenter::addObserver(
    const std::string& name, std::function<void(const std::string& name)> callback) {
    platform::ObserverToken token{nextToken++};
    if (!callback) return token;
    std::lock_guard lock(mutex_);
    observers_.push_back({token.id, name, std::move(callback)});
    return token;
}

void SimulatedNotificationCenter::removeObserver(const platform::ObserverToken& token) {
    std::vector<Observer> removed;
    std::lock_guard lock(mutex_);
    auto split = std::stable_partition(observers_.begin(), observers_.end(),
                                       [&](const Observer& o) { return o.id != token.id; });
    std::move(split, observers_.end(), std::back_inserter(removed));
    observers_.erase(split, observers_.end());
    // The removed callbacks die with `removed`, after the lock is released.
}

bool SimulatedNotificationCenter::isRegistered(std::uint64_t id) const {
    std::lock_guard lock(mutex_);
    return std::any_of(observers_.begin(), observers_.end(), [&](const Observer& o) { return o.id == id; });
}

std::size_t SimulatedNotificationCenter::observerCount() const {
    std::lock_guard lock(mutex_);
    return observers_.size();
}

void SimulatedNotificationCenter::post(const std::string& name) {
    std::vector<Observer> targets;
    {
        std::lock_guard lock(mutex_);
        for (const auto& o : observers_)
            if (o.name == name) targets.push_back(o);
    }
    if (targets.empty()) return;
    MainRunLoop::shared().postToMain([this, name, targets = std::move(targets)] {
        for (const auto& o : targets)
            if (isRegistered(o.id)) o.callback(name);
    });
}

SimulatedNotificationCenter& workspaceNotificationCenter() {
    static auto* center = new SimulatedNotificationCenter();
    return *center;
}

SimulatedNotificationCenter& applicationNotificationCenter() {
    static auto* center = new SimulatedNotificationCenter();
    return *center;
}

}  // namespace desktop
