#pragma once

// Every text the Dock subsystem shows the user.

namespace dock::text {

inline constexpr const char* missingBackupField = "Dock 设置缺少备份字段";
inline constexpr const char* cannotSave = "无法保存 Dock 设置";
inline constexpr const char* restartFailed = "设置已保存，但 Dock 未能刷新。请注销后重新登录。";
inline constexpr const char* qaModeRefusesWrite = "验收模式禁用 Dock 写入";

inline constexpr const char* statusQaMode = "验收模式 · 禁用系统写入";
inline constexpr const char* statusHidden = "已隐藏 · 自动保持";
inline constexpr const char* statusCalibrating = "正在校准";
inline constexpr const char* statusOff = "未开启";

inline constexpr const char* notAnApplication = "非应用条目";
inline constexpr const char* unknownApplication = "未知应用";
inline constexpr const char* noLongerExistsSuffix = "（已不存在）";

}  // namespace dock::text
