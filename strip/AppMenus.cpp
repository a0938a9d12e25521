#include "strip/AppMenus.h"

#include <algorithm>
#include <set>
#include <string>

#include "platform/Json.h"
#include "platform/ui/Image.h"
#include "platform/ui/Menu.h"
#include "model/Brand.h"
#include "strip/StripTexts.h"

namespace orvane::AppMenus {
namespace {

using platform::ui::Menu;
using platform::ui::MenuItem;

std::shared_ptr<MenuItem> itemFor(const std::string& title, const char* actionName,
                                  const std::function<void(MenuItem&)>& action, const AppEntry& entry) {
    auto item = std::make_shared<MenuItem>(title, actionName, "");
    item->action = action;
    item->representedObject = entry.dictionary();
    return item;
}

std::shared_ptr<MenuItem> plainItem(const std::string& title, const char* actionName, const char* key,
                                    const std::function<void()>& action) {
    auto item = std::make_shared<MenuItem>(title, actionName, key);
    if (action) item->action = [action](MenuItem&) { action(); };
    return item;
}

}  // namespace

bool isPinned(const AppEntry& entry, const std::vector<AppEntry>& pinned) {
    return std::any_of(pinned.begin(), pinned.end(), [&](const AppEntry& p) { return p.id == entry.id; });
}

std::shared_ptr<Menu> contextMenu(const AppEntry& entry, bool pinned, const AppMenuActions& actions) {
    auto menu = std::make_shared<Menu>();
    menu->addItem(itemFor(stripTexts::openOrSwitch, AppMenuActions::menuLaunchName, actions.menuLaunch, entry));
    menu->addItem(itemFor(pinned ? stripTexts::unpin : stripTexts::pin, AppMenuActions::pinActionName,
                          actions.pinAction, entry));
    menu->addItem(itemFor(stripTexts::revealInFinder, AppMenuActions::revealActionName, actions.revealAction, entry));
    return menu;
}

std::shared_ptr<Menu> allAppsMenu(const AllAppsInputs& inputs, const AppMenuActions& actions) {
    auto menu = std::make_shared<Menu>();
    // A heading: no action, so the system shows it disabled.
    menu->addItem(std::make_shared<MenuItem>(std::string(Brand::name) + stripTexts::allAppsHeadingSuffix, "", ""));

    std::vector<AppEntry> listed = inputs.pinned;
    std::set<std::string> seen;
    for (const AppEntry& entry : inputs.pinned) seen.insert(entry.id);
    for (const AppEntry& entry : inputs.running)
        if (seen.insert(entry.id).second) listed.push_back(entry);

    for (const AppEntry& entry : listed) {
        bool running = inputs.isRunning && inputs.isRunning(entry);
        auto item = itemFor(entry.name + (running ? stripTexts::runningMarker : ""), AppMenuActions::menuLaunchName,
                            actions.menuLaunch, entry);
        if (inputs.icon)
            if (auto icon = inputs.icon(entry)) {
                item->image = icon->copy();
                item->image->setSize({menuIconSide, menuIconSide});
            }
        menu->addItem(item);
    }

    menu->addItem(MenuItem::separator());
    menu->addItem(plainItem(stripTexts::settings, AppMenuActions::settingsActionName, ",", actions.settingsAction));
    menu->addItem(plainItem(std::string(stripTexts::quitPrefix) + Brand::name, AppMenuActions::quitActionName, "q",
                            actions.quitAction));
    return menu;
}

platform::Point allAppsLocation(platform::Rect stripBounds) {
    return {std::max(0.0, stripBounds.width() - allAppsInset), stripBounds.minY()};
}

}  // namespace orvane::AppMenus
