#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "model/AppEntry.h"
#include "platform/Geometry.h"

namespace platform::ui {
class Image;
class Menu;
class MenuItem;
}  // namespace platform::ui

namespace orvane {

// The menu actions as their selectors name them. Items of one application
// carry the entry's four-key dictionary as represented object; the receiver
// rebuilds the entry from the item and does nothing when that fails.
struct AppMenuActions {
    static constexpr const char* menuLaunchName = "menuLaunch:";
    static constexpr const char* pinActionName = "pinAction:";
    static constexpr const char* revealActionName = "revealAction:";
    static constexpr const char* settingsActionName = "settingsAction";
    static constexpr const char* quitActionName = "quitAction";

    std::function<void(platform::ui::MenuItem&)> menuLaunch;
    std::function<void(platform::ui::MenuItem&)> pinAction;
    std::function<void(platform::ui::MenuItem&)> revealAction;
    std::function<void()> settingsAction;
    std::function<void()> quitAction;
};

// What the all-applications menu lists and how it shows each application.
struct AllAppsInputs {
    std::vector<AppEntry> pinned;
    // Running ordinary applications other than this process, in the
    // platform's order, already converted to entries.
    std::vector<AppEntry> running;
    std::function<bool(const AppEntry&)> isRunning;
    std::function<std::shared_ptr<platform::ui::Image>(const AppEntry&)> icon;
};

namespace AppMenus {

inline constexpr double menuIconSide = 18;
// The all-applications menu hangs this far left of the strip's right end.
inline constexpr double allAppsInset = 26;

// Open or switch, pin or unpin, show in Finder.
std::shared_ptr<platform::ui::Menu> contextMenu(const AppEntry& entry, bool pinned, const AppMenuActions& actions);

// A heading, the pinned applications, then the running ones not pinned
// (each id once), a separator, settings and quit.
std::shared_ptr<platform::ui::Menu> allAppsMenu(const AllAppsInputs& inputs, const AppMenuActions& actions);

// Where the all-applications menu's top-left corner goes, in the strip's
// coordinates: under the manager control, hanging from the strip's bottom edge.
platform::Point allAppsLocation(platform::Rect stripBounds);

// Whether an entry with the same id is pinned (the pin item then reads "unpin").
bool isPinned(const AppEntry& entry, const std::vector<AppEntry>& pinned);

}  // namespace AppMenus

}  // namespace orvane
