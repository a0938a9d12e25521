#include "dock/DockMaintenance.h"

#include "dock/DockPreferences.h"
#include "dock/DockTexts.h"
#include "model/EventTexts.h"
#include "platform/Json.h"

namespace dock {

void DockMaintenance::maintainDock(bool dockPersistent, bool qaMode, const ErrorSink& emitError) {
    if (!dockPersistent || qaMode) return;
    if (dockIsHidden(dockRead())) {
        dockError_.clear();
        return;
    }
    platform::Result<> written = dockWrite(dockHiddenValues());
    if (!written.ok()) {
        fail(written.error().message, emitError);
        return;
    }
    dockRelaunchPending_ = true;
    if (!dockIsHidden(dockRead())) {
        fail(text::cannotSave, emitError);
        return;
    }
    dockError_.clear();
}

void DockMaintenance::applicationLaunched(bool dockPersistent, bool qaMode, const ErrorSink& emitError) {
    if (dockRelaunchPending_) {
        dockRelaunchPending_ = false;
        return;
    }
    maintainDock(dockPersistent, qaMode, emitError);
}

void DockMaintenance::fail(const std::string& reason, const ErrorSink& emitError) {
    std::string message = std::string(orvane::eventTexts::dockCalibrationFailedPrefix) + reason;
    if (message != dockError_ && emitError) emitError(message);
    dockError_ = std::move(message);
}

std::string DockMaintenance::dockStatus(bool dockPersistent, bool qaMode) const {
    if (qaMode) return text::statusQaMode;
    if (!dockPersistent) return text::statusOff;
    return dockIsHidden(dockRead()) ? text::statusHidden : text::statusCalibrating;
}

}  // namespace dock
