#pragma once

// Every text of the controller that a user reads, in one place; the texts
// its event records carry are in model/EventTexts.h.
#include "model/AppTexts.h"

namespace orvane::texts {

// Follow the product name.
inline constexpr const char* managerButtonLabelSuffix = " 所有应用与设置";
inline constexpr const char* centerPanelTitleSuffix = " · 居中应用栏";

}  // namespace orvane::texts
