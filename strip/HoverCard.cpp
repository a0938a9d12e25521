#include "strip/HoverCard.h"

#include <algorithm>

#include "model/EventRecords.h"
#include "platform/Json.h"
#include "platform/ui/Event.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "preview/PreviewLayout.h"
#include "preview/WindowPreview.h"
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
        const double margin = HoverCard::cardScreenMargin;
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

std::shared_ptr<HoverCard> HoverCard::create(Owner& owner) { return std::make_shared<HoverCard>(owner); }

HoverCard::HoverCard(Owner& owner) : owner_(owner) {}

void HoverCard::beginHover(const AppEntry& entry, Rect rect) {
    cancel(hoverJob_);
    cancel(hideJob_);
    // The pointer came back from the card to its own button: the card stays.
    if (id_ && *id_ == entry.id) return;
    close();
    std::weak_ptr<HoverCard> weak = weak_from_this();
    hoverJob_ = platform::runLoop().after(hoverDelay, [weak, entry, rect] {
        if (auto self = weak.lock()) self->show(entry, rect);
    });
}

void HoverCard::leaveHover() {
    cancel(hoverJob_);
    cancel(hideJob_);
    std::weak_ptr<HoverCard> weak = weak_from_this();
    hideJob_ = platform::runLoop().after(hideDelay, [weak] {
        auto self = weak.lock();
        if (!self) return;
        if (self->window_ && self->window_->frame().contains(ui::mouseLocation())) return;
        self->close();
    });
}

void HoverCard::show(const AppEntry& entry, Rect rect) {
    // A card still open is closed first: replacing it would leave its panel
    // on screen with its capture running. Pending jobs go too, so that an
    // earlier hover or leave does not replace or close the card shown now.
    close();
    auto strip = owner_.stripView();
    if (!strip) return;
    auto window = strip->window();
    if (!window) return;

    const platform::Point origin = window->frame().origin;
    const Rect anchor = strip->convertRectToWindow(rect).offsetBy(origin.x, origin.y);
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

    platform::RunningApp running = owner_.appRunning(entry);
    std::optional<std::int32_t> pid;
    std::optional<std::string> bundleID;
    if (running) {
        pid = running->processIdentifier();
        bundleID = running->bundleIdentifier();
    }

    std::weak_ptr<HoverCard> weak = weak_from_this();
    std::weak_ptr<ui::Window> weakPanel = panel;
    WindowPreview::Callbacks callbacks;
    callbacks.open = [weak, entry] {
        if (auto self = weak.lock()) self->owner_.launch(entry);
    };
    callbacks.entered = [weak] {
        if (auto self = weak.lock()) cancel(self->hideJob_);
    };
    callbacks.left = [weak] {
        if (auto self = weak.lock()) self->leaveHover();
    };
    callbacks.requestPermission = [weak] {
        if (auto self = weak.lock()) self->owner_.emit(events::screenPermission());
    };
    callbacks.relaunch = [weak] {
        if (auto self = weak.lock()) self->owner_.emit(events::relaunch());
    };
    callbacks.resizeCard = [weakPanel, placement](Size size) {
        if (auto card = weakPanel.lock()) card->setFrame(placement.frame(size), true);
    };
    auto preview = WindowPreview::create(entry.name, owner_.icon(entry), pid, bundleID, running && running->isActive(),
                                         std::move(callbacks));

    panel->setContentView(preview);
    panel->setFrame(placement.frame(panel->contentSize()), true);
    window_ = panel;
    id_ = entry.id;
    panel->orderFrontRegardless();
    preview->start();
}

void HoverCard::close() {
    cancel(hoverJob_);
    cancel(hideJob_);
    if (window_) {
        if (auto shown = preview()) shown->stop();
        window_->orderOut();
        window_.reset();
    }
    id_.reset();
}

std::shared_ptr<WindowPreview> HoverCard::preview() const {
    if (!window_) return nullptr;
    return std::dynamic_pointer_cast<WindowPreview>(window_->contentView());
}

void HoverCard::step(long long step) {
    if (auto shown = preview()) shown->select(step);
}

}  // namespace orvane
