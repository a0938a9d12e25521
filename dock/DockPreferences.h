#pragma once

// The Dock's own auto-hide preferences: reading them, testing for the hidden
// values, and writing a pair of values followed by a Dock restart.

#include <nlohmann/json_fwd.hpp>

#include "platform/OrvaneError.h"

namespace dock {

inline constexpr const char* dockDomainName = "com.apple.dock";
inline constexpr const char* autohideKey = "autohide";
inline constexpr const char* autohideDelayKey = "autohide-delay";
// Ten years: the hidden Dock never slides in.
inline constexpr double hiddenAutohideDelay = 315360000.0;

namespace errorCode {
inline constexpr long missingBackupField = 1;
inline constexpr long cannotSave = 2;
inline constexpr long restartFailed = 3;
inline constexpr long qaModeRefusesWrite = 4;
}  // namespace errorCode

// {"autohide": value or null, "autohide-delay": value or null}, as the store
// holds them after synchronising. Never fails.
nlohmann::json dockRead();
// Whether the state holds autohide true and a delay of exactly 315360000
// seconds (an integer or a real).
bool dockIsHidden(const nlohmann::json& state);
// The hidden values as a calibration writes them (a boolean and a real).
nlohmann::json dockHiddenValues();
// Sets "autohide" then "autohide-delay" (null removes a key), synchronises,
// and restarts the Dock with /usr/bin/killall Dock. Other keys are ignored.
platform::Result<> dockWrite(const nlohmann::json& values);
// The error the dockWrite command answers with while acceptance mode is on.
platform::OrvaneError dockWriteRefusedInQaMode();

}  // namespace dock
