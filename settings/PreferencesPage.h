#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/ui/Declarative.h"

namespace orvane {

class SettingsModel;

// The page "settings": a grouped form of four headed sections (menu bar,
// permissions, Dock, launch and quit).
platform::ui::declarative::Node preferences(const std::shared_ptr<SettingsModel>& model);

// A permission: its title and explanation on the left; on the right whether
// it is in effect and a button that sends the row's action. The button's
// accessibility label names the permission, because both rows show the same
// button text.
struct PermissionRow {
    std::string title;
    bool granted = false;
    std::string detail;
    std::string grantLabel;     // accessibility label of "前往授权…"
    std::string settingsLabel;  // accessibility label of "系统设置…"
    std::function<void()> action;
};
platform::ui::declarative::Node permissionRow(PermissionRow row);

}  // namespace orvane
