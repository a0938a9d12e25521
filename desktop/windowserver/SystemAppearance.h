#pragma once

// The simulated Mac's light or dark mode.

#include <optional>
#include <string>

#include "platform/ui/Appearance.h"

namespace desktop {

void setSystemAppearance(platform::ui::AppearanceName appearance);
// "light" or "dark"; nothing for any other word.
std::optional<platform::ui::AppearanceName> appearanceFromName(const std::string& name);
std::string appearanceName(platform::ui::AppearanceName appearance);

}  // namespace desktop
