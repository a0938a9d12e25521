#include "desktop/ui/ControlActions.h"

#include "desktop/ui/DeclarativeStyle.h"
#include "desktop/ui/MenuMetrics.h"
#include "platform/ui/Menu.h"
#include "platform/ui/View.h"

namespace desktop::ui {
namespace {

using platform::ui::declarative::Control;
using Role = Control::Role;

constexpr const char* selectOptionAction = "selectOption:";

}  // namespace

bool runAction(const PlacedControl& control) {
    const auto& node = *control.node;
    switch (control.info.role) {
        case Role::button:
        case Role::toolbarItem: {
            auto action = node.action;
            if (action) action();
            return true;
        }
        case Role::toggle: {
            auto toggled = node.toggled;
            bool value = !node.isOn;
            if (toggled) toggled(value);
            return true;
        }
        case Role::sidebarRow: {
            if (!control.owner) return true;
            auto changed = control.owner->changed;
            std::string tag = node.tag;
            if (changed) changed(tag);
            return true;
        }
        case Role::textField:
        case Role::picker:
        case Role::stepper: return false;
    }
    return false;
}

bool stepBy(const PlacedControl& control, int direction) {
    if (direction > 0 ? !control.info.canIncrement : !control.info.canDecrement) return false;
    const auto& node = *control.node;
    long long value = node.value + (direction > 0 ? node.step : -node.step);
    auto stepped = node.stepped;
    if (stepped) stepped(value);
    return true;
}

bool chooseOption(const PlacedControl& control, const std::string& option) {
    for (const auto& [value, shown] : control.node->options) {
        if (shown != option && value != option) continue;
        auto changed = control.node->changed;
        std::string chosen = value;
        if (changed) changed(chosen);
        return true;
    }
    return false;
}

void popUpOptions(const PlacedControl& control, platform::Rect frame, const std::shared_ptr<platform::ui::View>& view) {
    using platform::ui::Menu;
    using platform::ui::MenuItem;
    const auto& node = *control.node;
    auto menu = std::make_shared<Menu>(node.text);
    std::size_t current = 0;
    for (const auto& [value, shown] : node.options) {
        auto item = std::make_shared<MenuItem>(shown, selectOptionAction, "");
        if (value == node.selection) {
            item->setState(platform::ui::controlState::on);
            current = menu->items().size();
        }
        auto changed = node.changed;
        std::string chosen = value;
        item->action = [changed, chosen](MenuItem&) {
            if (changed) changed(chosen);
        };
        menu->addItem(item);
    }
    Menu::popUp(menu, menu::popUpMenuTopLeft(*menu, current, frame, style::popUpTextInset), view);
}

}  // namespace desktop::ui
