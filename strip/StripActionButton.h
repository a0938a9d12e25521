#pragma once

#include <functional>
#include <memory>

#include "platform/ui/Button.h"

namespace orvane {

// An invisible button over one control of the strip: it turns clicks, hover,
// right clicks and scroll-wheel events into plain callbacks and draws
// nothing; the strip draws what the user sees underneath.
class StripActionButton : public platform::ui::Button {
public:
    static constexpr const char* invokeActionName = "invokeAction";

    explicit StripActionButton(platform::Rect frame = {});
    static std::shared_ptr<StripActionButton> create(platform::Rect frame);

    std::function<void()> tap;
    std::function<void()> enter;
    std::function<void()> leave;
    std::function<void(const platform::ui::Event&)> context;

    const std::shared_ptr<platform::ui::TrackingArea>& hoverTracking() const { return hoverTracking_; }

    // The button's action: runs tap when set.
    void invokeAction();

    void draw(platform::ui::Canvas& canvas) override;
    void updateTrackingAreas() override;
    void mouseEntered(const platform::ui::Event& event) override;
    void mouseExited(const platform::ui::Event& event) override;
    void rightMouseDown(const platform::ui::Event& event) override;
    // Hands the event to the strip it sits on, so scrolling works anywhere
    // over the strip; swallowed elsewhere.
    void scrollWheel(const platform::ui::Event& event) override;

private:
    std::shared_ptr<platform::ui::TrackingArea> hoverTracking_;
};

}  // namespace orvane
