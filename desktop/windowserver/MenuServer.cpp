// Popped-up menus of the simulated Mac, standing in for the menu tracking of
// NSMenu: a popup returns at once and the menu stays open, in screen
// coordinates, until an item is chosen or it is dismissed; a newer popup
// replaces it. Choosing closes the menu before the item's action runs, so an
// action may open the next menu.

#include "desktop/windowserver/MenuServer.h"

#include <nlohmann/json.hpp>

#include "desktop/scene/GeometryJson.h"
#include "platform/ui/Image.h"
#include "platform/ui/Menu.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace desktop {
namespace {

using platform::Point;
using platform::ui::Menu;
using platform::ui::MenuItem;

struct OpenMenu {
    std::shared_ptr<Menu> menu;
    Point location;
    std::string kind;
};

std::optional<OpenMenu>& openMenu() {
    static std::optional<OpenMenu> menu;
    return menu;
}

void open(const std::shared_ptr<Menu>& menu, Point location, std::string kind) {
    if (!menu) return;
    openMenu() = OpenMenu{menu, location, std::move(kind)};
}

std::shared_ptr<MenuItem> findItem(const Menu& menu, const std::string& title) {
    for (const auto& item : menu.items())
        if (item && !item->isSeparator() && item->title() == title) return item;
    std::string wanted = squeezedMenuTitle(title);
    for (const auto& item : menu.items())
        if (item && !item->isSeparator() && squeezedMenuTitle(item->title()) == wanted) return item;
    return nullptr;
}

}  // namespace

std::string squeezedMenuTitle(const std::string& text) {
    std::string result;
    bool space = false;
    for (char c : text) {
        bool isSpace = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        if (isSpace) {
            space = !result.empty();
            continue;
        }
        if (space) result += ' ';
        space = false;
        result += c;
    }
    return result;
}

void resetMenus() { openMenu().reset(); }

bool menuIsOpen() { return openMenu().has_value(); }

nlohmann::json openMenuState() {
    const auto& current = openMenu();
    if (!current) return nullptr;
    auto items = nlohmann::json::array();
    for (const auto& item : current->menu->items()) {
        if (!item) continue;
        items.push_back({{"title", item->title()},
                         {"enabled", item->isEnabled()},
                         {"separator", item->isSeparator()},
                         {"keyEquivalent", item->keyEquivalent()},
                         {"action", item->actionName()},
                         {"image", item->image != nullptr},
                         {"state", item->state()}});
    }
    return {{"title", current->menu->title()},
            {"kind", current->kind},
            {"location", pointJson(current->location)},
            {"items", std::move(items)}};
}

std::shared_ptr<Menu> openMenuAt(Point& topLeft) {
    const auto& current = openMenu();
    if (!current) return nullptr;
    topLeft = current->location;
    return current->menu;
}

ChooseOutcome chooseMenuItem(const std::string& title) {
    auto& current = openMenu();
    if (!current) return ChooseOutcome::noMenu;
    std::shared_ptr<Menu> menu = current->menu;
    auto item = findItem(*menu, title);
    if (!item) return ChooseOutcome::noSuchItem;
    if (!item->isEnabled()) return ChooseOutcome::disabled;
    current.reset();
    if (auto action = item->action) action(*item);
    return ChooseOutcome::chosen;
}

bool dismissMenu() {
    bool wasOpen = openMenu().has_value();
    openMenu().reset();
    return wasOpen;
}

}  // namespace desktop

namespace platform::ui {

// The event's place on screen: through the view's window when the event
// came from that window, else the event's own screen location.
void Menu::popUpContextMenu(const std::shared_ptr<Menu>& menu, const Event& event, const std::shared_ptr<View>& view) {
    Point location = event.screenLocation;
    if (auto window = view ? view->window() : nullptr; window && event.windowNumber == window->windowNumber())
        location = {window->frame().minX() + event.locationInWindow.x, window->frame().minY() + event.locationInWindow.y};
    desktop::open(menu, location, "context");
}

// A location in a view outside any window is taken as a screen location.
void Menu::popUp(const std::shared_ptr<Menu>& menu, Point location, const std::shared_ptr<View>& view) {
    Point screen = location;
    if (auto window = view ? view->window() : nullptr) {
        Point inWindow = view->convertToWindow(location);
        screen = {window->frame().minX() + inWindow.x, window->frame().minY() + inWindow.y};
    }
    desktop::open(menu, screen, "popUp");
}

}  // namespace platform::ui
