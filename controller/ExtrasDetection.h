#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/AppEntry.h"
#include "platform/Accessibility.h"
#include "platform/Geometry.h"
#include "platform/Workspace.h"

namespace orvane {

// Per application key: whether the app shows its own menu-bar extra.
using Detections = std::map<std::string, std::string>;

namespace detection {
inline constexpr const char* present = "present";
inline constexpr const char* absent = "absent";
inline constexpr const char* unknown = "unknown";
// How long one accessibility read of another app may block the scan.
inline constexpr double messagingTimeout = 0.12;
// Height of the band at the top of every screen where menu-bar extras live.
inline constexpr double menuBarBand = 42.0;
}  // namespace detection

// What the background scan gets of one running app: copied on the main
// thread so the worker never touches a platform object.
struct ExtrasCandidate {
    std::int32_t pid = 0;
    std::string key;
};

// Bundle identifier, else bundle path, else empty (such an app is not scanned).
std::string applicationKey(const platform::RunningApplication& app);

// Regular apps, and accessory or background apps whose bundle identifier is
// pinned, in the order of running; never this process itself.
std::vector<ExtrasCandidate> extrasCandidates(const std::vector<platform::RunningApp>& running,
                                              const std::vector<AppEntry>& pinned, int ownPid);

// Whether a rectangle (bottom-left origin) lies wholly inside the menu-bar
// band of one of the screens.
bool inMenuBarBand(const platform::Rect& rect, const std::vector<platform::Rect>& screens);

// "present", "absent" or "unknown" for one process's extras as read.
std::string extrasValue(const std::optional<std::vector<platform::MenuBarExtra>>& extras, std::int32_t pid,
                        const std::vector<platform::Rect>& screens);

// The whole scan over the candidates; safe on the background worker as long
// as accessibility is. A "present" from one process of an app survives the
// other processes' results, except an unreadable one.
Detections detectExtras(const std::vector<ExtrasCandidate>& candidates, const std::vector<platform::Rect>& screens,
                        platform::Accessibility& accessibility);

// The next detection epoch. It wraps to 0 rather than overflowing: the only
// scan it must invalidate is the one in flight, whose epoch it never equals.
std::uint64_t nextEpoch(std::uint64_t epoch);

}  // namespace orvane
