// The host application as the platform describes the running process to
// itself: its pid, its bundle and the icon of that bundle, and its activation.

#include "desktop/apps/HostApplication.h"

#include <unistd.h>

#include "desktop/apps/AppIcon.h"
#include "desktop/apps/ProcessTable.h"
#include "platform/Application.h"

namespace desktop {
namespace {

class HostApplication final : public platform::Application {
public:
    int processIdentifier() override { return static_cast<int>(getpid()); }

    std::shared_ptr<platform::ui::Image> applicationIconImage() override {
        const auto& host = ProcessTable::shared().host();
        if (!host || !host->bundlePath()) return nullptr;
        return iconForFile(*host->bundlePath(), host->identity().name);
    }

    std::optional<std::string> mainBundlePath() override {
        const auto& host = ProcessTable::shared().host();
        return host ? host->bundlePath() : std::nullopt;
    }

    std::optional<std::string> mainBundleIdentifier() override {
        const auto& host = ProcessTable::shared().host();
        return host ? host->bundleIdentifier() : std::nullopt;
    }

    // The simulated system has no other applications' windows to step over:
    // activating makes the host the active application, whatever is active now.
    void activateIgnoringOtherApps(bool) override { ProcessTable::shared().activateHost(); }
};

}  // namespace

platform::Application& hostApplication() {
    static auto* instance = new HostApplication();
    return *instance;
}

}  // namespace desktop
