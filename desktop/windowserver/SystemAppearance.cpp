// The system-wide appearance of the simulated Mac, standing in for the
// user's light or dark mode setting that views without their own follow.

#include "desktop/windowserver/SystemAppearance.h"

namespace desktop {
namespace {
platform::ui::AppearanceName systemWide = platform::ui::AppearanceName::aqua;
}

void setSystemAppearance(platform::ui::AppearanceName appearance) { systemWide = appearance; }

std::optional<platform::ui::AppearanceName> appearanceFromName(const std::string& name) {
    if (name == "light") return platform::ui::AppearanceName::aqua;
    if (name == "dark") return platform::ui::AppearanceName::darkAqua;
    return std::nullopt;
}

std::string appearanceName(platform::ui::AppearanceName appearance) {
    return appearance == platform::ui::AppearanceName::darkAqua ? "dark" : "light";
}

}  // namespace desktop

namespace platform::ui {
AppearanceName systemAppearance() { return desktop::systemWide; }
}  // namespace platform::ui
