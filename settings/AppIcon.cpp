#include "settings/AppIcon.h"

#include "settings/Nodes.h"
#include "settings/SettingsApp.h"

namespace orvane {

namespace {
constexpr double side = 32;
}

platform::ui::declarative::Node appIcon(const SettingsApp& app) {
    auto node = nodes::make(nodes::Kind::image);
    node.iconPath = app.path();
    node.frame.width = side;
    node.frame.height = side;
    node.accessibilityHidden = true;
    return node;
}

}  // namespace orvane
