#pragma once

// Every text of the strip and its menus that a user reads or hears, in one
// place. Texts marked "follows the product name" are appended to Brand::name.
namespace orvane::stripTexts {

// Follows the product name: the strip's accessibility label.
inline constexpr const char* stripLabelSuffix = " 应用栏，滚动查看更多应用";

// Follow an application's name on its button (label and tool tip).
inline constexpr const char* runningAppSuffix = "，切换";
inline constexpr const char* idleAppSuffix = "，打开";

inline constexpr const char* scrollLeft = "向左滚动应用";
inline constexpr const char* scrollRight = "向右滚动应用";
inline constexpr const char* manager = "所有应用与设置";

// The context menu of an application button.
inline constexpr const char* openOrSwitch = "打开 / 切换";
inline constexpr const char* unpin = "取消固定";
inline constexpr const char* pin = "固定到应用栏";
inline constexpr const char* revealInFinder = "在 Finder 中显示";

// The all-applications menu.
inline constexpr const char* allAppsHeadingSuffix = " · 所有应用";  // follows the product name
inline constexpr const char* runningMarker = "  •";                 // follows a running application's name
inline constexpr const char* settings = "设置…";
inline constexpr const char* quitPrefix = "退出 ";                  // followed by the product name

}  // namespace orvane::stripTexts
