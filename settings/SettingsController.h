#pragma once

#include <memory>
#include <string>

#include "platform/Geometry.h"
#include "settings/SettingsModel.h"

namespace platform::ui {
class HostingView;
class Image;
class Window;
}  // namespace platform::ui

namespace orvane {

// Owns the settings window and its model. The window is made on the first
// show and from then on only hidden and shown again, never closed: its
// close button orders it out. Its content is rebuilt from the model on
// every change of the model, and not otherwise; a change of the search text
// alone rebuilds only the parts of the page that show it. Main thread only.
class SettingsController : public std::enable_shared_from_this<SettingsController> {
public:
    static constexpr platform::Size contentSize{980, 720};
    static constexpr platform::Size minimumSize{860, 620};
    // Titled, closable, miniaturizable, resizable, full-size content view.
    static constexpr unsigned windowStyleMask = 32783;
    static constexpr int unifiedToolbarStyle = 3;
    static constexpr const char* frameAutosaveName = "Orvane.NativeSettings";

    static std::shared_ptr<SettingsController> create();
    SettingsController();
    ~SettingsController();
    SettingsController(const SettingsController&) = delete;
    SettingsController& operator=(const SettingsController&) = delete;

    SettingsModel& model() const { return *model_; }
    // Nothing until the first show.
    const std::shared_ptr<platform::ui::Window>& window() const { return window_; }
    const std::shared_ptr<platform::ui::HostingView>& hostingView() const { return hosting_; }

    // Makes the window on first use, brings it forward as the key window and
    // activates the application, which lives in the menu bar and would
    // otherwise leave the window behind the active app.
    void show();
    // Orders the window out when it exists.
    void hide();
    bool isVisible() const;
    // How many times the window's content was rebuilt from the model.
    long long rebuildCount() const { return rebuildCount_; }

private:
    void makeWindow();
    void modelChanged(SettingsModel::Change change);
    bool replaceSearchParts();
    void rebuild();

    std::shared_ptr<SettingsModel> model_;
    std::shared_ptr<platform::ui::Window> window_;
    std::shared_ptr<platform::ui::HostingView> hosting_;
    std::shared_ptr<platform::ui::Image> productIcon_;
    // The page the content was last built for: a change to "add" asks the
    // host to read the catalogue.
    std::string builtTab_;
    long long rebuildCount_ = 0;
};

}  // namespace orvane
