#pragma once

// Every text of the hover card, the screen-recording permission and the
// self-preview's test window that a user reads or hears, and the card's
// state names, in one place.
namespace orvane::previewTexts {

// States of the card (its report's "status").
inline constexpr const char* loading = "loading";
inline constexpr const char* notRunning = "notRunning";
inline constexpr const char* permissionRequired = "permissionRequired";
inline constexpr const char* noWindow = "noWindow";
inline constexpr const char* unavailable = "unavailable";
inline constexpr const char* live = "live";

// Placeholders, one per reason no image is shown.
inline constexpr const char* loadingMessage = "正在读取窗口…";
inline constexpr const char* notRunningMessage = "应用尚未启动\n打开后可查看完整窗口";
inline constexpr const char* permissionAtStartMessage = "屏幕权限尚未对当前进程生效\n已授权可重新检测或重开岚舟";
inline constexpr const char* captureDeclinedMessage = "屏幕权限尚未对当前进程生效\n已授权可重新打开岚舟";
inline constexpr const char* recheckFailedMessage = "权限尚未对当前进程生效\n已授权可重新打开岚舟";
inline constexpr const char* noWindowMessage = "当前没有可读取的应用窗口\n点击切换，打开窗口后会自动重试";
inline constexpr const char* unavailableMessage = "暂时无法读取此窗口\n可重新检测后再试";
inline constexpr const char* recheckingMessage = "正在重新检测屏幕权限…";

// The status word under the application's name.
inline constexpr const char* statusNotRunning = "尚未启动";
inline constexpr const char* statusActive = "当前应用";
inline constexpr const char* statusRunning = "正在运行";

// Buttons.
inline constexpr const char* open = "打开";
inline constexpr const char* switchTo = "切换";
inline constexpr const char* permissionSettings = "授权设置…";
inline constexpr const char* recheck = "重新检测";
inline constexpr const char* reopen = "重新打开";
inline constexpr const char* previousWindow = "上一窗口";
inline constexpr const char* nextWindow = "下一窗口";

// Follows the application's name: the window image's accessibility label.
inline constexpr const char* imageLabelSuffix = " 完整窗口预览，点击切换应用";

// The caption: "2/3 · Notes"; an untitled window is "应用窗口".
inline constexpr const char* captionCountSeparator = "/";
inline constexpr const char* captionTitleSeparator = " · ";
inline constexpr const char* untitledWindow = "应用窗口";

// The screen-recording permission.
inline constexpr const char* screenCaptureInEffect = "已生效";
inline constexpr const char* screenCaptureNotInEffect = "当前进程未生效";

// The acceptance self-preview's test window.
inline constexpr const char* selfPreviewTitle = "完整窗口 · 竖屏验收";
inline constexpr const char* selfPreviewTop = "TOP · 窗口顶部";
inline constexpr const char* selfPreviewBottom = "BOTTOM · 窗口底部";

}  // namespace orvane::previewTexts
