#pragma once

// Every text the library's own event records carry to the host, which shows
// them to the user, in one place: the messages of the "error" and
// "screenResult" records.
namespace orvane::eventTexts {

// "找不到 " + name + "，请在设置中移除或重新导入。"
inline constexpr const char* launchMissingPrefix = "找不到 ";
inline constexpr const char* launchMissingSuffix = "，请在设置中移除或重新导入。";
// Followed by the system's description of the failure.
inline constexpr const char* launchFailedPrefix = "打开失败：";
// Followed by the reason keeping the Dock hidden failed; also the snapshot's dockError.
inline constexpr const char* dockCalibrationFailedPrefix = "Dock 隐藏校准失败：";

// The host's screen-recording re-check.
inline constexpr const char* probeSucceeded = "屏幕录制权限已生效。";
inline constexpr const char* probeFailed = "权限尚未对当前进程生效；已授权请重新打开岚舟。";

}  // namespace orvane::eventTexts
