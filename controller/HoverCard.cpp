// The controller's side of the hover card. The card panel itself (its
// delayed opening, placement and preview) is not built yet: hovering and
// showing do nothing, and closing only cancels jobs and forgets the card.

#include "controller/NativeController.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/Window.h"
#include "strip/StripLayout.h"
#include "strip/StripView.h"

namespace orvane {

void NativeController::beginHover(const AppEntry&, platform::Rect) {}

void NativeController::leaveHover() {}

void NativeController::showCard(const AppEntry&, platform::Rect) {}

void NativeController::closeCard() {
    if (hoverJob_) hoverJob_->cancel();
    if (cardHideJob_) cardHideJob_->cancel();
    hoverJob_.reset();
    cardHideJob_.reset();
    if (card_) {
        card_->orderOut();
        card_.reset();
    }
    cardID_.reset();
}

void NativeController::hover(long long index) {
    if (!strip_ || index < 0 || std::size_t(index) >= entries_.size()) return;
    StripLayout layout(std::int64_t(entries_.size()), maxIcons_, platform::ui::systemStatusBar().thickness());
    auto anchor = layout.app(index - strip_->offset());
    showCard(entries_[std::size_t(index)], anchor);
}

}  // namespace orvane
