// The controller's side of the hover card: the strip's hover callbacks and
// the host's commands reach the card it owns here.

#include "controller/NativeController.h"
#include "model/EventRecords.h"
#include "platform/ui/StatusBar.h"
#include "preview/WindowPreview.h"
#include "strip/StripLayout.h"
#include "strip/StripView.h"

namespace orvane {

void NativeController::beginHover(const AppEntry& entry, platform::Rect rect) { card_->beginHover(entry, rect); }

void NativeController::leaveHover() { card_->leaveHover(); }

void NativeController::closeCard() { card_->close(); }

std::shared_ptr<StripView> NativeController::stripView() const { return state_.strip; }

void NativeController::hover(long long index) {
    if (!state_.strip || index < 0 || std::size_t(index) >= state_.entries.size()) return;
    StripLayout layout(std::int64_t(state_.entries.size()), state_.maxIcons, platform::ui::systemStatusBar().thickness());
    auto anchor = layout.app(index - state_.strip->offset());
    card_->show(state_.entries[std::size_t(index)], anchor);
}

void NativeController::screenProbeFinished(bool granted) {
    if (granted)
        if (auto preview = card_->preview()) preview->start();
    emit(events::screenResult(granted));
}

}  // namespace orvane
