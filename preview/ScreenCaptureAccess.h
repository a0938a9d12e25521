#pragma once

#include <functional>
#include <string>

// The process's own evidence of the screen-recording permission. A
// permission granted while the process runs may take effect only after a
// relaunch, and the system's preflight and a real capture can disagree, so
// a capture or listing that succeeds proves the permission in force and a
// capture the user declined disproves it. Process-wide: it outlives
// controllers. Main thread only.
namespace orvane::ScreenCaptureAccess {

// The preflight says yes, or a capture or probe succeeded since the last refusal.
bool granted();
// "已生效" when granted, else "当前进程未生效".
const char* status();
// The description of the last failed capture or probe; empty after a successful probe.
const std::string& lastError();
bool confirmedByCapture();
// A probe is in flight.
bool checking();

// Asks the system for the permission when the preflight says no, then opens
// the screen-recording page of the privacy settings in every case.
void request();
// Lists the on-screen shareable content and reports on the main thread
// whether that worked. While a probe runs, a second caller is told the
// current granted() at once instead of starting another listing.
void probe(std::function<void(bool granted)> completion);

// The capture job's evidence: true after each capture, false when the user declined one.
void setConfirmedByCapture(bool confirmed);
void setLastError(std::string description);

// Forgets all evidence, as at load. Lets a test start from a fresh process's state.
void reset();

}  // namespace orvane::ScreenCaptureAccess
