#pragma once

// Keeps the Dock hidden while persistent hiding is on: each calibration reads
// the Dock's preferences and writes the hidden values again when anything
// changed them. The controller owns one, decides when to calibrate
// (configure, its timer, wake, application launch) and keeps dockPersistent.

#include <functional>
#include <string>

namespace dock {

class DockMaintenance {
public:
    // Receives the message of an error event.
    using ErrorSink = std::function<void(const std::string& message)>;

    // One calibration. Does nothing unless dockPersistent is on and
    // acceptance mode is off. A failure is reported through emitError only
    // when its message differs from the last one, so a failure that repeats
    // on every timer tick yields one event. Hidden values that were written
    // but do not read back (a managed profile forces the Dock's own) are a
    // failed calibration too.
    void maintainDock(bool dockPersistent, bool qaMode, const ErrorSink& emitError);
    // An application launched. The first launch after a calibration restarted
    // the Dock is that restart's own relaunch and does not calibrate: when the
    // written values do not hold, it would write and restart again, forever.
    void applicationLaunched(bool dockPersistent, bool qaMode, const ErrorSink& emitError);

    // The message of the last failed calibration, "" after one that
    // succeeded or found the Dock hidden.
    const std::string& dockError() const { return dockError_; }
    // The snapshot's status line.
    std::string dockStatus(bool dockPersistent, bool qaMode) const;

private:
    void fail(const std::string& reason, const ErrorSink& emitError);

    std::string dockError_;
    bool dockRelaunchPending_ = false;
};

}  // namespace dock
