// The controller's side of the hover card: the delayed job that opens it
// 0.45 s after the pointer rests on an application button, the job that
// closes it 0.25 s after the pointer left both the button and the card, the
// card panel's construction and placement under the hovered slot, the
// preview's callbacks, and closeCard(), which every action that must get
// the card out of the way calls first.

#include <algorithm>

#include "controller/NativeController.h"
#include "model/EventRecords.h"
#include "platform/Json.h"
#include "platform/ui/Event.h"
#include "platform/ui/Screen.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/Window.h"
#include "preview/PreviewLayout.h"
#include "preview/WindowPreview.h"
#include "strip/StripLayout.h"
#include "strip/StripView.h"

namespace orvane {
namespace {

namespace ui = platform::ui;
using platform::Rect;
using platform::Size;

// Where a card of a given size goes: centred under the hovered slot, its top
// edge a gap below the slot, pushed inwards to keep a margin from the right,
// left and bottom edges of the visible area (the left margin wins when the
// card is wider than the area).
struct CardPlacement {
    Rect visible;
    Rect anchor;
    double top;

    Rect frame(Size size) const {
        const double margin = NativeController::cardScreenMargin;
        double x = std::max(visible.minX() + margin,
                            std::min(visible.maxX() - size.width - margin, anchor.midX() - size.width / 2));
        double y = std::max(visible.minY() + margin, top - size.height);
        return {x, y, size.width, size.height};
    }
};

void cancel(const platform::Job& job) {
    if (job) job->cancel();
}

}  // namespace

void NativeController::beginHover(const AppEntry& entry, Rect rect) {
    cancel(hoverJob_);
    cancel(cardHideJob_);
    // The pointer came back from the card to its own button: the card stays.
    if (cardID_ && *cardID_ == entry.id) return;
    closeCard();
    std::weak_ptr<NativeController> weak = weak_from_this();
    hoverJob_ = platform::runLoop().after(hoverDelay, [weak, entry, rect] {
        if (auto self = weak.lock()) self->showCard(entry, rect);
    });
}

void NativeController::leaveHover() {
    cancel(hoverJob_);
    cancel(cardHideJob_);
    std::weak_ptr<NativeController> weak = weak_from_this();
    cardHideJob_ = platform::runLoop().after(hideDelay, [weak] {
        auto self = weak.lock();
        if (!self) return;
        if (self->card_ && self->card_->frame().contains(ui::mouseLocation())) return;
        self->closeCard();
    });
}

void NativeController::showCard(const AppEntry& entry, Rect rect) {
    // A card still open is closed first: replacing it would leave its panel
    // on screen with its capture running. Pending jobs go too, so that an
    // earlier hover or leave does not replace or close the card shown now.
    closeCard();
    if (!strip_) return;
    auto window = strip_->window();
    if (!window) return;

    const platform::Point origin = window->frame().origin;
    const Rect anchor = strip_->convertRectToWindow(rect).offsetBy(origin.x, origin.y);
    std::optional<ui::Screen> screen = window->screen();
    if (!screen) screen = ui::mainScreen();
    const CardPlacement placement{screen ? screen->visibleFrame : anchor, anchor, anchor.minY() - cardGap};

    auto panel = ui::Window::create({0, 0, PreviewLayout::width, cardInitialHeight}, cardStyleMask,
                                    ui::backing::buffered, false);
    panel->setOpaque(false);
    panel->setClearBackground(true);
    panel->setHasShadow(true);
    panel->setLevel(cardLevel);
    panel->setCollectionBehavior(cardCollectionBehavior);

    platform::RunningApp running = appRunning(entry);
    std::optional<std::int32_t> pid;
    if (running) pid = running->processIdentifier();

    std::weak_ptr<NativeController> weak = weak_from_this();
    std::weak_ptr<ui::Window> weakPanel = panel;
    WindowPreview::Callbacks callbacks;
    callbacks.open = [weak, entry] {
        if (auto self = weak.lock()) self->launch(entry);
    };
    callbacks.entered = [weak] {
        if (auto self = weak.lock()) cancel(self->cardHideJob_);
    };
    callbacks.left = [weak] {
        if (auto self = weak.lock()) self->leaveHover();
    };
    callbacks.requestPermission = [weak] {
        if (auto self = weak.lock()) self->emit(events::screenPermission());
    };
    callbacks.relaunch = [weak] {
        if (auto self = weak.lock()) self->emit(events::relaunch());
    };
    callbacks.resizeCard = [weakPanel, placement](Size size) {
        if (auto card = weakPanel.lock()) card->setFrame(placement.frame(size), true);
    };
    auto preview = WindowPreview::create(entry.name, icon(entry), pid, running && running->isActive(),
                                         std::move(callbacks));

    panel->setContentView(preview);
    panel->setFrame(placement.frame(panel->contentSize()), true);
    card_ = panel;
    cardID_ = entry.id;
    panel->orderFrontRegardless();
    preview->start();
}

void NativeController::closeCard() {
    cancel(hoverJob_);
    cancel(cardHideJob_);
    if (card_) {
        if (auto preview = cardPreview()) preview->stop();
        card_->orderOut();
        card_.reset();
    }
    cardID_.reset();
}

std::shared_ptr<WindowPreview> NativeController::cardPreview() const {
    if (!card_) return nullptr;
    return std::dynamic_pointer_cast<WindowPreview>(card_->contentView());
}

void NativeController::hover(long long index) {
    if (!strip_ || index < 0 || std::size_t(index) >= entries_.size()) return;
    StripLayout layout(std::int64_t(entries_.size()), maxIcons_, ui::systemStatusBar().thickness());
    auto anchor = layout.app(index - strip_->offset());
    showCard(entries_[std::size_t(index)], anchor);
}

void NativeController::previewStep(long long step) {
    if (auto preview = cardPreview()) preview->select(step);
}

void NativeController::screenProbeFinished(bool granted) {
    if (granted)
        if (auto preview = cardPreview()) preview->start();
    emit(events::screenResult(granted));
}

}  // namespace orvane
