// The controller's side of the acceptance self-preview: the test window it
// keeps for its life, and the card of this very process anchored at the
// first slot, so that the full-window preview of a portrait window can be
// looked at or captured without another application.

#include "controller/NativeController.h"
#include "platform/Application.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/Window.h"
#include "preview/SelfPreviewWindow.h"
#include "strip/StripLayout.h"

namespace orvane {

namespace {

// This process as a running application, as the workspace lists it.
platform::RunningApp currentApplication() {
    const int pid = platform::application().processIdentifier();
    for (const auto& app : platform::workspace().runningApplications())
        if (app && app->processIdentifier() == pid) return app;
    return nullptr;
}

}  // namespace

void NativeController::qaSelfPreview() {
    if (!state_.qaMode || !state_.strip) return;
    closeCard();
    if (!state_.qaPreviewWindow) state_.qaPreviewWindow = SelfPreviewWindow::make();
    // In front again after the user closed it, without taking the keyboard.
    state_.qaPreviewWindow->orderFrontRegardless();
    refresh(false);

    // Without a record of this process there is no entry to show.
    auto host = currentApplication();
    if (!host) return;
    const StripLayout layout(static_cast<std::int64_t>(state_.entries.size()), state_.maxIcons,
                             platform::ui::systemStatusBar().thickness());
    card_->show(AppEntry::fromRunningApplication(*host), layout.app(0));
}

}  // namespace orvane
