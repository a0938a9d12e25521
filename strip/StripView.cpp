#include "strip/StripView.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/Workspace.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Screen.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/Window.h"
#include "model/Brand.h"
#include "strip/ControlSignature.h"
#include "strip/ScrollTransitionView.h"
#include "strip/StripActionButton.h"
#include "strip/StripPlacement.h"
#include "strip/StripTexts.h"

namespace orvane {
namespace {

using platform::Rect;
using platform::ui::Color;

constexpr double backgroundAlpha = 0.92;
constexpr double backgroundRadius = 5;
constexpr double highlightAlpha = 0.09;
constexpr double highlightRadius = 5;
constexpr double idleDotAlpha = 0.6;
constexpr double dotSide = 2;
constexpr double dotBottom = 0.5;
constexpr double chevronLineWidth = 1.4;
constexpr double chevronActiveAlpha = 0.8;
constexpr double chevronInactiveAlpha = 0.25;
constexpr double chevronInset = 4;
constexpr double chevronWidth = 5;
constexpr double chevronHalfHeight = 4;
constexpr double markSide = 18;
constexpr double markAlpha = 0.85;

double statusBarThickness() { return platform::ui::systemStatusBar().thickness(); }

// offset + step clamped into 0..last without overflowing for any step.
std::int64_t clampedTarget(std::int64_t offset, long long step, std::int64_t last) {
    std::int64_t upper = std::max<std::int64_t>(0, last);
    if (step >= upper - offset) return upper;
    if (step <= -offset) return 0;
    return offset + step;
}

}  // namespace

std::shared_ptr<StripView> StripView::create(std::weak_ptr<StripOwner> owner, Rect frame) {
    return std::make_shared<StripView>(std::move(owner), frame);
}

StripView::StripView(std::weak_ptr<StripOwner> owner, Rect frame) : View(frame), owner_(std::move(owner)) {
    setAccessibilityRole(platform::ui::role::toolbar);
    setAccessibilityLabel(std::string(Brand::name) + stripTexts::stripLabelSuffix);
}

std::weak_ptr<StripView> StripView::weakSelf() {
    return std::static_pointer_cast<StripView>(weak_from_this().lock());
}

int StripView::offset() const { return offset_; }
bool StripView::pointerInside() const { return pointerInside_; }
int StripView::hovered() const { return hovered_; }
const std::string& StripView::controlSignature() const { return controlSignature_; }
void StripView::setControlSignature(std::string signature) { controlSignature_ = std::move(signature); }
std::uint64_t StripView::scrollEpoch() const { return scrollEpoch_; }
int StripView::scrollAnimationCount() const { return scrollAnimationCount_; }

StripLayout StripView::layout() const {
    auto owner = owner_.lock();
    if (!owner) return StripLayout(0, 0, statusBarThickness());
    return StripLayout(static_cast<std::int64_t>(owner->entries().size()), owner->maxIcons(), statusBarThickness());
}

void StripView::resize() {
    StripLayout layout = this->layout();
    std::int64_t last = layout.count() - layout.capacity();
    offset_ = static_cast<int>(std::max<std::int64_t>(0, std::min<std::int64_t>(offset_, last)));
    placeInMenuBar(layout);
    setFrameSize({layout.width(), layout.height()});
    updateTrackingAreas();
    rebuildControls();
}

void StripView::placeInMenuBar(const StripLayout& layout) {
    auto owner = owner_.lock();
    if (!owner) return;
    double width = layout.width();
    double height = layout.height();
    if (owner->centered()) {
        if (auto panel = owner->centerPanel()) {
            std::optional<platform::ui::Screen> screen = platform::ui::mainScreen();
            if (!screen) {
                auto all = platform::ui::screens();
                if (!all.empty()) screen = all.front();
            }
            if (screen) {
                panel->setContentSize({width, height});
                double menuBarHeight = std::max(height, screen->frame.maxY() - screen->visibleFrame.maxY());
                panel->setFrame(StripPlacement::frame(screen->frame, menuBarHeight, width, height), true);
                // A camera housing sits where the strip would be centred.
                if (screen->safeAreaTop > 0)
                    panel->orderOut();
                else
                    panel->orderFrontRegardless();
                // A moment without screens gave the item the strip's width;
                // otherwise the item's length is left alone here.
                if (centredItemWidened_) {
                    if (auto item = owner->item()) item->setLength(StripPlacement::centeredItemLength);
                    centredItemWidened_ = false;
                }
                return;
            }
        }
    }
    if (auto item = owner->item()) item->setLength(width);
    centredItemWidened_ = owner->centered();
}

void StripView::updateTrackingAreas() {
    if (track_) removeTrackingArea(track_);
    track_ = std::make_shared<platform::ui::TrackingArea>(platform::ui::TrackingArea{
        bounds(), platform::ui::tracking::mouseEnteredAndExited | platform::ui::tracking::activeAlways,
        weak_from_this()});
    addTrackingArea(track_);
    View::updateTrackingAreas();
}

void StripView::rebuildControls() {
    auto owner = owner_.lock();
    if (!owner) return;
    StripLayout layout = this->layout();
    std::string signature = orvane::controlSignature(offset_, layout, owner->entries());
    if (signature == controlSignature_) return;
    controlSignature_ = std::move(signature);
    removeAllSubviews();
    // The transition view went with the other subviews; nothing covers the slots any more.
    scrollTransition_.reset();

    std::weak_ptr<StripView> weakStrip = weakSelf();
    std::weak_ptr<StripOwner> weakOwner = owner_;
    const std::vector<AppEntry>& entries = owner->entries();
    auto count = static_cast<std::int64_t>(entries.size());

    for (std::int64_t i = 0; i < layout.capacity(); ++i) {
        std::int64_t index = offset_ + i;
        if (index < 0 || index >= count) continue;
        const AppEntry entry = entries[static_cast<std::size_t>(index)];
        Rect rect = layout.app(i);
        std::string label = entry.name + (owner->appRunning(entry) ? stripTexts::runningAppSuffix : stripTexts::idleAppSuffix);
        auto button = addButton(rect, label, [weakOwner, entry] {
            if (auto o = weakOwner.lock()) o->launch(entry);
        });
        int slotIndex = static_cast<int>(index);
        button->enter = [weakStrip, weakOwner, entry, rect, slotIndex] {
            auto strip = weakStrip.lock();
            if (!strip) return;
            strip->hovered_ = slotIndex;
            strip->setNeedsDisplay();
            if (auto o = weakOwner.lock()) o->beginHover(entry, rect);
        };
        button->leave = [weakStrip, weakOwner] {
            auto strip = weakStrip.lock();
            if (!strip) return;
            strip->hovered_ = -1;
            strip->setNeedsDisplay();
            if (auto o = weakOwner.lock()) o->leaveHover();
        };
        button->context = [weakOwner, entry](const platform::ui::Event& event) {
            if (auto o = weakOwner.lock()) o->contextMenu(entry, event);
        };
    }

    auto closeCard = [weakOwner] {
        if (auto o = weakOwner.lock()) o->closeCard();
    };
    if (layout.overflowing()) {
        auto left = addButton(layout.previous(), stripTexts::scrollLeft, [weakStrip] {
            if (auto strip = weakStrip.lock()) strip->scroll(-1);
        });
        left->setEnabled(offset_ > 0);
        left->enter = closeCard;

        auto right = addButton(layout.next(), stripTexts::scrollRight, [weakStrip] {
            if (auto strip = weakStrip.lock()) strip->scroll(1);
        });
        right->setEnabled(offset_ + layout.capacity() < count);
        right->enter = closeCard;
    }

    auto manager = addButton(layout.manager(), stripTexts::manager, [weakOwner] {
        if (auto o = weakOwner.lock()) o->all();
    });
    manager->enter = closeCard;
}

std::shared_ptr<StripActionButton> StripView::addButton(Rect frame, const std::string& label, std::function<void()> tap) {
    auto button = StripActionButton::create(frame);
    button->setTitle("");
    button->setBordered(false);
    button->setBezelStyle(platform::ui::bezel::regularSquare);
    button->setButtonType(platform::ui::buttonType::momentaryChange);
    button->setAccessibilityLabel(label);
    button->setToolTip(label);
    button->tap = std::move(tap);
    addSubview(button);
    return button;
}

void StripView::scroll(long long step) {
    StripLayout layout = this->layout();
    std::int64_t target = clampedTarget(offset_, step, layout.count() - layout.capacity());
    if (target == offset_) return;

    if (auto owner = owner_.lock()) owner->closeCard();
    hovered_ = -1;
    std::uint64_t epoch = ++scrollEpoch_;
    if (scrollTransition_) {
        // Its completion will find a newer epoch and leave the next transition alone.
        scrollTransition_->removeFromSuperview();
        scrollTransition_.reset();
    }

    auto before = appSnapshot();
    int old = offset_;
    offset_ = static_cast<int>(target);
    rebuildControls();
    setNeedsDisplay();
    if (!before) return;
    auto after = appSnapshot();
    if (!after) return;
    animateScroll(std::move(before), std::move(after), old < offset_, epoch);
}

void StripView::animateScroll(std::shared_ptr<platform::ui::Image> before, std::shared_ptr<platform::ui::Image> after,
                              bool forward, std::uint64_t epoch) {
    StripLayout layout = this->layout();
    auto transition = std::make_shared<ScrollTransitionView>(
        Rect{layout.leading(), 0, layout.slot() * static_cast<double>(layout.capacity()), bounds().height()});
    Rect area = transition->bounds();
    auto outgoing = std::make_shared<platform::ui::ImageView>(area);
    outgoing->setImageScaling(platform::ui::imageScaling::axesIndependently);
    outgoing->setImage(std::move(before));
    auto incoming = std::make_shared<platform::ui::ImageView>(area);
    incoming->setImageScaling(platform::ui::imageScaling::axesIndependently);
    incoming->setImage(std::move(after));
    transition->addSubview(outgoing);
    transition->addSubview(incoming);

    bool reduceMotion = platform::workspace().accessibilityDisplayShouldReduceMotion();
    double shift = reduceMotion ? 0 : (forward ? scrollShift : -scrollShift);
    incoming->setFrame(area.offsetBy(shift, 0));
    incoming->setAlpha(0);
    addSubview(transition);
    scrollTransition_ = transition;
    if (scrollAnimationCount_ < INT_MAX) ++scrollAnimationCount_;
    setNeedsDisplay();

    std::weak_ptr<StripView> weakStrip = weakSelf();
    std::weak_ptr<ScrollTransitionView> weakTransition = transition;
    platform::ui::runAnimationGroup(
        reduceMotion ? reducedScrollDuration : scrollDuration, platform::ui::TimingFunction::easeOut,
        [&](platform::ui::Animator& animator) {
            animator.setAlpha(outgoing, 0);
            animator.setFrame(outgoing, area.offsetBy(-shift, 0));
            animator.setAlpha(incoming, 1);
            animator.setFrame(incoming, area);
        },
        [weakStrip, weakTransition, epoch] {
            auto strip = weakStrip.lock();
            if (!strip || strip->scrollEpoch_ != epoch) return;
            if (auto view = weakTransition.lock()) view->removeFromSuperview();
            strip->scrollTransition_.reset();
            strip->setNeedsDisplay();
        });
}

void StripView::stopScrollTransition() {
    ++scrollEpoch_;
    if (!scrollTransition_) return;
    for (const auto& view : scrollTransition_->subviews()) view->removeAllAnimations();
    scrollTransition_->removeFromSuperview();
    scrollTransition_.reset();
    setNeedsDisplay();
}

std::shared_ptr<platform::ui::Image> StripView::appSnapshot() {
    StripLayout layout = this->layout();
    if (layout.capacity() < 1) return nullptr;
    Rect area = bounds();
    auto bitmap = bitmapForCachingDisplay(area);
    if (!bitmap) return nullptr;
    cacheDisplay(area, *bitmap);
    double scale = bitmap->pixelsWide() / area.width();
    double slotsWidth = layout.slot() * static_cast<double>(layout.capacity());
    auto slots = bitmap->cropped({layout.leading() * scale, 0, slotsWidth * scale, area.height() * scale});
    if (!slots) return nullptr;
    return platform::ui::Image::withBitmap(std::move(slots), {slotsWidth, area.height()});
}

void StripView::scrollWheel(const platform::ui::Event& event) {
    if (!layout().overflowing()) return;
    double dx = event.scrollingDeltaX;
    double dy = event.scrollingDeltaY;
    if (!std::isfinite(dx) || !std::isfinite(dy)) return;
    double delta = std::fabs(dy) >= std::fabs(dx) ? dy : dx;
    accumulated_ -= delta;
    double threshold = event.hasPreciseScrollingDeltas ? preciseScrollThreshold : lineScrollThreshold;
    if (std::fabs(accumulated_) < threshold) return;
    int step = accumulated_ > 0 ? 1 : -1;
    accumulated_ = 0;
    scroll(step);
}

void StripView::mouseEntered(const platform::ui::Event&) { pointerInside_ = true; }

void StripView::mouseExited(const platform::ui::Event&) {
    pointerInside_ = false;
    hovered_ = -1;
    setNeedsDisplay();
    if (auto owner = owner_.lock()) owner->leaveHover();
    // A change held back while the pointer was over the strip lands now.
    if (auto owner = owner_.lock(); owner && owner->pendingRefresh()) owner->refresh(false);
}

void StripView::viewDidMoveToWindow() {
    View::viewDidMoveToWindow();
    if (!window()) return;
    controlSignature_.clear();
    rebuildControls();
}

void StripView::draw(platform::ui::Canvas& canvas) {
    auto owner = owner_.lock();
    if (!owner) return;
    StripLayout layout = this->layout();
    Rect area = bounds();
    if (owner->centered())
        canvas.fillRoundedRect(area.insetBy(0, 0.5), backgroundRadius, backgroundRadius,
                               Color::windowBackground().withAlpha(backgroundAlpha));
    if (!scrollTransition_) drawSlots(canvas, *owner, layout);
    if (layout.overflowing()) drawChevrons(canvas, layout, static_cast<std::int64_t>(owner->entries().size()));
    Rect manager = layout.manager();
    Brand::drawMark(canvas, {manager.midX() - markSide / 2, area.midY() - markSide / 2, markSide, markSide},
                    Color::label().withAlpha(markAlpha));
}

void StripView::drawSlots(platform::ui::Canvas& canvas, StripOwner& owner, const StripLayout& layout) {
    Color ink = Color::label();
    const std::vector<AppEntry>& entries = owner.entries();
    auto count = static_cast<std::int64_t>(entries.size());
    for (std::int64_t i = 0; i < layout.capacity(); ++i) {
        std::int64_t index = offset_ + i;
        if (index < 0 || index >= count) continue;
        const AppEntry& entry = entries[static_cast<std::size_t>(index)];
        Rect r = layout.app(i);
        if (hovered_ == index)
            canvas.fillRoundedRect(r.insetBy(1, 1), highlightRadius, highlightRadius, ink.withAlpha(highlightAlpha));
        if (auto image = owner.icon(entry)) canvas.drawImage(*image, layout.icon(i), 1.0);
        if (auto running = owner.appRunning(entry)) {
            Color dot = running->isActive() ? Color::systemBlue() : ink.withAlpha(idleDotAlpha);
            canvas.fillOval({r.midX() - dotSide / 2, dotBottom, dotSide, dotSide}, dot);
        }
    }
}

void StripView::drawChevrons(platform::ui::Canvas& canvas, const StripLayout& layout, std::int64_t count) {
    Color ink = Color::label();
    double midY = bounds().midY();
    auto alpha = [](bool active) { return active ? chevronActiveAlpha : chevronInactiveAlpha; };
    double left = chevronInset + chevronWidth;
    canvas.strokePolyline({{left, midY + chevronHalfHeight}, {chevronInset, midY}, {left, midY - chevronHalfHeight}},
                          chevronLineWidth, platform::ui::LineCap::round, ink.withAlpha(alpha(offset_ > 0)));
    double x0 = layout.leading() + layout.slot() * static_cast<double>(layout.capacity()) + chevronInset;
    canvas.strokePolyline({{x0, midY + chevronHalfHeight}, {x0 + chevronWidth, midY}, {x0, midY - chevronHalfHeight}},
                          chevronLineWidth, platform::ui::LineCap::round,
                          ink.withAlpha(alpha(offset_ + layout.capacity() < count)));
}

}  // namespace orvane
