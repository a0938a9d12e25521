#include "strip/StripActionButton.h"

#include "strip/StripView.h"

namespace orvane {

StripActionButton::StripActionButton(platform::Rect frame) : Button(frame) {}

std::shared_ptr<StripActionButton> StripActionButton::create(platform::Rect frame) {
    auto button = std::make_shared<StripActionButton>(frame);
    std::weak_ptr<StripActionButton> weak = button;
    button->setAction(invokeActionName, [weak] {
        if (auto self = weak.lock()) self->invokeAction();
    });
    return button;
}

void StripActionButton::invokeAction() {
    // A copy: the callback may rebuild the strip and release this button.
    if (auto run = tap) run();
}

void StripActionButton::draw(platform::ui::Canvas&) {}

void StripActionButton::updateTrackingAreas() {
    if (hoverTracking_) removeTrackingArea(hoverTracking_);
    hoverTracking_ = std::make_shared<platform::ui::TrackingArea>(platform::ui::TrackingArea{
        bounds(), platform::ui::tracking::mouseEnteredAndExited | platform::ui::tracking::activeAlways,
        weak_from_this()});
    addTrackingArea(hoverTracking_);
    Button::updateTrackingAreas();
}

void StripActionButton::mouseEntered(const platform::ui::Event&) {
    if (auto run = enter) run();
}

void StripActionButton::mouseExited(const platform::ui::Event&) {
    if (auto run = leave) run();
}

void StripActionButton::rightMouseDown(const platform::ui::Event& event) {
    if (auto run = context) run(event);
}

void StripActionButton::scrollWheel(const platform::ui::Event& event) {
    if (auto strip = std::dynamic_pointer_cast<StripView>(superview())) strip->scrollWheel(event);
}

}  // namespace orvane
