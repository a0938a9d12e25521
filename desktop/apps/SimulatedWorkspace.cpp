// The workspace of the simulated Mac, standing in for the platform's shared
// workspace object. URLs and file-viewer requests go nowhere but are recorded
// so that tests and the host can see them.

#include "desktop/apps/SimulatedWorkspace.h"

#include <nlohmann/json.hpp>

#include "desktop/apps/AppIcon.h"
#include "desktop/apps/ApplicationLauncher.h"
#include "desktop/apps/ProcessTable.h"
#include "desktop/apps/SimulatedNotificationCenter.h"
#include "desktop/scene/SceneValues.h"
#include "platform/Workspace.h"

namespace desktop {
namespace {

class SimulatedWorkspace final : public platform::Workspace {
public:
    void reset(const nlohmann::json& scene) {
        reduceMotion_ = scene::boolean(scene, "reduceMotion", false);
        revealed_ = nlohmann::json::array();
        openedURLs_ = nlohmann::json::array();
    }

    nlohmann::json state() const {
        return {{"reduceMotion", reduceMotion_},
                {"revealed", revealed_},
                {"openedURLs", openedURLs_},
                {"opened", ApplicationLauncher::shared().state()}};
    }

    std::vector<platform::RunningApp> runningApplications() override {
        return ProcessTable::shared().runningApplications();
    }

    platform::NotificationCenter& notificationCenter() override { return workspaceNotificationCenter(); }

    void openApplication(const std::string& path, bool activates, platform::OpenCompletion completion) override {
        ApplicationLauncher::shared().open(path, activates, std::move(completion));
    }

    std::optional<std::string> urlForApplication(const std::string& bundleIdentifier) override {
        return ProcessTable::shared().launchServices().applicationPath(bundleIdentifier);
    }

    std::shared_ptr<platform::ui::Image> iconForFile(const std::string& path) override {
        auto& table = ProcessTable::shared();
        auto index = table.findByPath(path);
        return desktop::iconForFile(path, index ? table.identity(*index).name : std::string());
    }

    void activateFileViewerSelecting(const std::vector<std::string>& paths) override {
        revealed_.push_back(nlohmann::json(paths));
    }

    bool openURL(const std::string& url) override {
        // Only something with a scheme is a URL the system can hand to an app.
        auto colon = url.find(':');
        bool valid = colon != std::string::npos && colon > 0 &&
                     url.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+-.") >= colon;
        if (valid) openedURLs_.push_back(url);
        return valid;
    }

    bool accessibilityDisplayShouldReduceMotion() override { return reduceMotion_; }
    void setReduceMotion(bool reduce) { reduceMotion_ = reduce; }

private:
    bool reduceMotion_ = false;
    nlohmann::json revealed_ = nlohmann::json::array();
    nlohmann::json openedURLs_ = nlohmann::json::array();
};

SimulatedWorkspace& sharedWorkspace() {
    static auto* workspace = new SimulatedWorkspace();
    return *workspace;
}

}  // namespace

void resetWorkspace(const nlohmann::json& scene) {
    sharedWorkspace().reset(scene);
    ApplicationLauncher::shared().reset(scene);
}

void setReduceMotion(bool reduce) { sharedWorkspace().setReduceMotion(reduce); }

nlohmann::json workspaceState() { return sharedWorkspace().state(); }

platform::Workspace& simulatedWorkspace() { return sharedWorkspace(); }

}  // namespace desktop
