#include "settings/AppIcon.h"

#include "platform/Path.h"
#include "settings/SettingsApp.h"

namespace orvane {

namespace {
constexpr double side = 32;
}

platform::ui::declarative::Node appIcon(const SettingsApp& app) {
    return platform::ui::declarative::fileIcon(platform::isPath(app.path()) ? app.path() : std::string()).framed(side, side).accessibilityHiddenIf();
}

}  // namespace orvane
