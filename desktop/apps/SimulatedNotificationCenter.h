#pragma once

// The simulated Mac's notification centres: the workspace's and the
// application's default one. Observers are called on the main run loop, on a
// later turn than the post, as observers registered for the main queue are.

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Workspace.h"

namespace desktop {

class SimulatedNotificationCenter final : public platform::NotificationCenter {
public:
    platform::ObserverToken addObserver(const std::string& name,
                                        std::function<void(const std::string& name)> callback) override;
    void removeObserver(const platform::ObserverToken& token) override;

    // Thread-safe. Delivers to the observers of name that are still
    // registered when the delivery runs.
    void post(const std::string& name);
    std::size_t observerCount() const;

private:
    struct Observer {
        std::uint64_t id;
        std::string name;
        std::function<void(const std::string&)> callback;
    };
    bool isRegistered(std::uint64_t id) const;

    mutable std::mutex mutex_;
    std::vector<Observer> observers_;
};

SimulatedNotificationCenter& workspaceNotificationCenter();
SimulatedNotificationCenter& applicationNotificationCenter();

}  // namespace desktop
