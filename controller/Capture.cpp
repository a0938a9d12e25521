// The controller's side of the capture command: which of its surfaces are
// saved, in which order. Rendering, the files and the screen capture of a
// window live in preview/SurfaceCapture.

#include "controller/NativeController.h"
#include "platform/Files.h"
#include "platform/Path.h"
#include "platform/ui/Window.h"
#include "preview/SurfaceCapture.h"
#include "settings/SettingsController.h"
#include "strip/StripView.h"

namespace orvane {

// The folder must exist: an empty or missing one gets nothing, rather than
// files written somewhere else. The settings window's screen capture ends
// after the reply, and only its file shows how it went.
void NativeController::capture(const std::string& directory) {
    if (!platform::isPath(directory) || !platform::files().exists(directory)) return;
    if (state_.strip) writeViewPNG(*state_.strip, captureFilePath(directory, captureFile::strip));
    if (const auto& card = card_->window(); card && card->contentView())
        writeViewPNG(*card->contentView(), captureFilePath(directory, captureFile::card));
    if (auto window = settingsWindow()) captureWindowSurface(*window, directory, captureFile::settings);
}

std::shared_ptr<platform::ui::Window> NativeController::settingsWindow() const { return settings_->window(); }

}  // namespace orvane
