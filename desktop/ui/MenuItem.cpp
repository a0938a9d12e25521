// Menu items as the platform's menu item class keeps them; showing and
// choosing them belongs to the simulated menu server.

#include "platform/ui/Menu.h"

namespace platform::ui {

MenuItem::MenuItem(std::string title, std::string actionName, std::string keyEquivalent)
    : title_(std::move(title)), actionName_(std::move(actionName)), keyEquivalent_(std::move(keyEquivalent)) {}

std::shared_ptr<MenuItem> MenuItem::separator() {
    auto item = std::make_shared<MenuItem>("", "", "");
    item->separator_ = true;
    return item;
}

}  // namespace platform::ui
