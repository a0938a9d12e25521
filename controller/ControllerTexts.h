#pragma once

// Every text of the controller that a user reads, in one place.
#include "model/AppTexts.h"

namespace orvane::texts {

// Follow the product name.
inline constexpr const char* managerButtonLabelSuffix = " 所有应用与设置";
inline constexpr const char* centerPanelTitleSuffix = " · 居中应用栏";

// "找不到 " + name + "，请在设置中移除或重新导入。"
inline constexpr const char* launchMissingPrefix = "找不到 ";
inline constexpr const char* launchMissingSuffix = "，请在设置中移除或重新导入。";
// Followed by the system's description of the failure.
inline constexpr const char* launchFailedPrefix = "打开失败：";

}  // namespace orvane::texts
