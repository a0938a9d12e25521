#pragma once

// Every text of the settings window that a person reads or hears, the page
// names, the keys it reads from the host's dictionaries and the symbols it
// shows, in one place; the events it sends are made by model/EventRecords.h.
// Texts marked "follows the product name" or "followed by ..." are joined
// with Brand::name or an application's name where they are used.
namespace orvane::settingsTexts {

// Pages, the values of the model's tab.
namespace tab {
inline constexpr const char* apps = "apps";
inline constexpr const char* add = "add";
inline constexpr const char* settings = "settings";
}  // namespace tab

// The policies of an application entry.
namespace policy {
inline constexpr const char* automatic = "auto";
inline constexpr const char* always = "always";
inline constexpr const char* running = "running";
}  // namespace policy

// Keys of settingsUpdate and of the host's preferences and state.
namespace key {
inline constexpr const char* preferences = "preferences";
inline constexpr const char* state = "state";
inline constexpr const char* installed = "installed";
inline constexpr const char* message = "message";
inline constexpr const char* failure = "failure";
inline constexpr const char* loading = "loading";
inline constexpr const char* login = "login";

inline constexpr const char* pinned = "pinned";
inline constexpr const char* maxIcons = "maxIcons";
inline constexpr const char* centered = "centered";
inline constexpr const char* showRunning = "showRunning";
inline constexpr const char* autoDedup = "autoDedup";
inline constexpr const char* dockPersistent = "dockPersistent";
inline constexpr const char* hasUndo = "hasUndo";

inline constexpr const char* trusted = "trusted";
inline constexpr const char* screenCapture = "screenCapture";
inline constexpr const char* detections = "detections";
inline constexpr const char* visible = "visible";
inline constexpr const char* hidden = "hidden";
inline constexpr const char* dockStatus = "dockStatus";

inline constexpr const char* detectionPresent = "present";
}  // namespace key

// SF Symbol names.
namespace symbol {
inline constexpr const char* menubar = "menubar.rectangle";
inline constexpr const char* addApp = "plus.app";
inline constexpr const char* sliders = "slider.horizontal.3";
inline constexpr const char* keyboard = "keyboard";
inline constexpr const char* importDock = "square.and.arrow.down";
inline constexpr const char* plus = "plus";
inline constexpr const char* compress = "rectangle.compress.vertical";
inline constexpr const char* warning = "exclamationmark.triangle.fill";
inline constexpr const char* checkmark = "checkmark.circle.fill";
inline constexpr const char* close = "xmark";
inline constexpr const char* pin = "pin";
inline constexpr const char* yielded = "arrow.right.to.line";
inline constexpr const char* emptyDock = "menubar.dock.rectangle";
inline constexpr const char* up = "chevron.up";
inline constexpr const char* down = "chevron.down";
inline constexpr const char* unpin = "minus.circle";
inline constexpr const char* search = "magnifyingglass";
inline constexpr const char* clearSearch = "xmark.circle.fill";
inline constexpr const char* window = "macwindow";
inline constexpr const char* dock = "dock.rectangle";
inline constexpr const char* power = "power";
inline constexpr const char* notGranted = "circle";
}  // namespace symbol

// Sidebar.
inline constexpr const char* appsPage = "应用栏";
inline constexpr const char* addPage = "添加应用";
inline constexpr const char* settingsPage = "偏好设置";
inline constexpr const char* versionSeparator = "  ";  // between the English name and the version
inline constexpr const char* shortcut = "⌘ ⌥ Space";
inline constexpr const char* shortcutCaption = "打开完整应用列表";

// Toolbar.
inline constexpr const char* importDock = "导入当前 Dock";
inline constexpr const char* importDockTip = "复制固定应用和顺序，保留原 Dock 列表";
inline constexpr const char* addApps = "添加应用";
inline constexpr const char* hideWindow = "收起窗口";
inline constexpr const char* hideWindowTip = "收起窗口，菜单栏继续运行";

// Banner.
inline constexpr const char* dismissMessage = "关闭提示";

// Page "apps".
inline constexpr const char* appsTitle = "常用应用，随手可达";
inline constexpr const char* appsSubtitle = "固定顺序与菜单栏同步；悬停图标查看完整窗口。";
inline constexpr const char* undoImport = "撤销导入";
inline constexpr const char* pinnedCountPrefix = "已固定 ";  // followed by the number
inline constexpr const char* visibleCountPrefix = "栏内 ";
inline constexpr const char* hiddenCountPrefix = "已让位 ";
inline constexpr const char* emptyTitle = "把常用应用带到顶部";
inline constexpr const char* emptyDescription = "导入当前 Dock，或选择本机应用。";
inline constexpr const char* launchPrefix = "打开 ";  // followed by the app's name
inline constexpr const char* policyPicker = "入口策略";
inline constexpr const char* policyTipSuffix = " 的入口策略";  // follows the app's name
inline constexpr const char* policyAuto = "自动";
inline constexpr const char* policyAlways = "始终显示";
inline constexpr const char* policyRunning = "运行时让位";
inline constexpr const char* moveUpPrefix = "上移 ";  // followed by the app's name
inline constexpr const char* moveDownPrefix = "下移 ";
inline constexpr const char* unpinPrefix = "取消固定 ";

// Status lines under a pinned app.
inline constexpr const char* statusAlways = "始终显示在应用栏";
inline constexpr const char* statusRunning = "运行时让位给原生入口";
inline constexpr const char* statusUntrusted = "自动识别 · 辅助功能未生效";
inline constexpr const char* statusYielded = "原生入口可见 · 已让位";
inline constexpr const char* statusKept = "自动识别 · 保留应用入口";

// Page "add".
inline constexpr const char* searchPlaceholder = "搜索本机应用";
inline constexpr const char* clearSearch = "清空搜索";
inline constexpr const char* loadingInstalled = "正在读取本机应用…";
inline constexpr const char* pinApp = "固定";
inline constexpr const char* appPinned = "已固定";

// Page "settings".
inline constexpr const char* menubarSection = "菜单栏";
inline constexpr const char* centeredToggle = "将应用栏居中显示";
inline constexpr const char* centeredExplanation = "与菜单栏同高，右侧保留管理入口。长菜单可能与浮层重叠；刘海屏保留右侧入口。";
inline constexpr const char* showRunningToggle = "显示未固定的运行应用";
inline constexpr const char* autoDedupToggle = "自动让位给已有原生入口";
inline constexpr const char* visibleIcons = "可见图标";
inline constexpr const char* iconCountSuffix = " 个";  // follows the number

inline constexpr const char* permissionsSection = "权限与窗口预览";
inline constexpr const char* accessibility = "辅助功能";
inline constexpr const char* accessibilityDetail = "用于识别同一应用的原生菜单栏入口。系统开关已打开但未生效时，可重新检测或重开岚舟。";
inline constexpr const char* screenRecording = "屏幕录制";
inline constexpr const char* screenRecordingDetail = "用于完整窗口预览，仅读取当前小窗。授权后可重新检测；仍不可用时重新打开岚舟。";
inline constexpr const char* accessibilityRetry = "重新检测辅助功能";
inline constexpr const char* screenRetry = "重新检测屏幕权限";
inline constexpr const char* relaunch = "重新打开岚舟";
inline constexpr const char* granted = "已允许";
inline constexpr const char* openSystemSettings = "系统设置…";
inline constexpr const char* notGranted = "未生效";
inline constexpr const char* grant = "前往授权…";

inline constexpr const char* dockSection = "底部 Dock";
inline constexpr const char* keepHidden = "持续隐藏";
inline constexpr const char* keepHiddenOff = "未开启";
inline constexpr const char* dockExplanation = "开启后在启动、唤醒及运行期间保持隐藏，退出后保留。保存原设置，可随时恢复。";
inline constexpr const char* dockCaveat = "依赖系统未公开的弹出延迟偏好，系统特殊场景仍可能唤出 Dock。";
inline constexpr const char* restoreDock = "恢复原生 Dock";
inline constexpr const char* startKeepHidden = "开启持续隐藏";
inline constexpr const char* recovery = "恢复说明…";

inline constexpr const char* launchSection = "启动与退出";
inline constexpr const char* loginTogglePrefix = "登录时启动 ";  // followed by the product name
inline constexpr const char* residentNote = "菜单栏常驻 · ⌘ ⌥ Space 打开完整列表";
inline constexpr const char* quitPrefix = "退出 ";  // followed by the product name

// Accessibility labels of controls whose visible text repeats on one page,
// so that a person using VoiceOver (or a script) can tell them apart.
inline constexpr const char* importDockFromToolbarLabel = "从工具栏导入当前 Dock";
inline constexpr const char* importDockFromEmptyListLabel = "从空列表导入当前 Dock";
inline constexpr const char* pinAppPrefix = "固定 ";          // followed by the app's name
inline constexpr const char* appPinnedPrefix = "已固定 ";     // followed by the app's name
inline constexpr const char* grantAccessibilityLabel = "前往授权辅助功能…";
inline constexpr const char* grantScreenRecordingLabel = "前往授权屏幕录制…";
inline constexpr const char* accessibilitySettingsLabel = "辅助功能的系统设置…";
inline constexpr const char* screenRecordingSettingsLabel = "屏幕录制的系统设置…";

}  // namespace orvane::settingsTexts
