// The accessibility API of the simulated Mac (the trust check and reading an
// application's menu-bar extras element). An application that does not answer
// holds each read for the caller's messaging timeout on the real clock, as a
// hung process does, and then fails.

#include "desktop/permissions/SimulatedAccessibility.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "desktop/permissions/AccessibilityMirror.h"
#include "desktop/permissions/Permissions.h"
#include "platform/Accessibility.h"

namespace desktop {
namespace {

// The platform's messaging timeout when none (or zero) is set, and the
// longest wait the simulation allows one read.
constexpr double defaultMessagingTimeout = 6.0;
constexpr double longestMessagingTimeout = 10.0;

class SimulatedAccessibility final : public platform::Accessibility {
public:
    bool isTrusted(bool prompt) override {
        if (prompt) permissions::recordAccessibilityPrompt();
        return permissions::accessibilityTrusted();
    }

    std::optional<std::vector<platform::MenuBarExtra>> extras(int pid, double timeout) override {
        auto record = AccessibilityMirror::shared().lookup(pid);
        if (!record) return std::nullopt;
        if (record->unresponsive) {
            double wait = std::isfinite(timeout) && timeout > 0 ? timeout : defaultMessagingTimeout;
            std::this_thread::sleep_for(std::chrono::duration<double>(std::min(wait, longestMessagingTimeout)));
            return std::nullopt;
        }
        if (!record->extrasReadable || !record->childrenReadable) return std::nullopt;
        return std::move(record->extras);
    }
};

}  // namespace

platform::Accessibility& simulatedAccessibility() {
    static auto* instance = new SimulatedAccessibility();
    return *instance;
}

}  // namespace desktop
