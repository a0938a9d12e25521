#include "settings/AppIcon.h"

#include "settings/SettingsApp.h"

namespace orvane {

namespace {
constexpr double side = 32;
}

platform::ui::declarative::Node appIcon(const SettingsApp& app) {
    return platform::ui::declarative::fileIcon(app.path()).framed(side, side).accessibilityHiddenIf();
}

}  // namespace orvane
