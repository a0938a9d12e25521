#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/ui/View.h"
#include "strip/StripLayout.h"
#include "strip/StripOwner.h"

namespace platform::ui {
class Image;
}

namespace orvane {

class ScrollTransitionView;
class StripActionButton;

// The row of application icons in the menu bar: draws icons, running dots,
// scroll chevrons and the product mark, and lays transparent buttons over them.
class StripView : public platform::ui::View {
public:
    static constexpr double scrollShift = 18;
    static constexpr double scrollDuration = 0.18;
    static constexpr double reducedScrollDuration = 0.08;
    static constexpr double preciseScrollThreshold = 14;
    static constexpr double lineScrollThreshold = 1;

    static std::shared_ptr<StripView> create(std::weak_ptr<StripOwner> owner, platform::Rect frame);
    // Use create(): the view needs a shared owner of its own for its callbacks.
    StripView(std::weak_ptr<StripOwner> owner, platform::Rect frame);

    int offset() const;
    bool pointerInside() const;
    int hovered() const;
    const std::string& controlSignature() const;
    // The controller forces a rebuild with an empty signature before resizing.
    void setControlSignature(std::string signature);
    std::uint64_t scrollEpoch() const;
    int scrollAnimationCount() const;
    double accumulated() const { return accumulated_; }
    const std::shared_ptr<ScrollTransitionView>& scrollTransition() const { return scrollTransition_; }
    const std::shared_ptr<platform::ui::TrackingArea>& track() const { return track_; }

    // The layout for the owner's entries and settings and the status bar's
    // thickness at this moment (no entries once the owner is gone).
    StripLayout layout() const;

    void resize();
    void rebuildControls();
    void scroll(long long step);
    // Ends a running scroll transition at once (the controller's stop).
    void stopScrollTransition();
    // The application slots as currently drawn, without arrows or mark.
    std::shared_ptr<platform::ui::Image> appSnapshot();

    bool acceptsFirstResponder() const override { return true; }
    void draw(platform::ui::Canvas& canvas) override;
    void updateTrackingAreas() override;
    void viewDidMoveToWindow() override;
    void mouseEntered(const platform::ui::Event& event) override;
    void mouseExited(const platform::ui::Event& event) override;
    void scrollWheel(const platform::ui::Event& event) override;

private:
    void placeInMenuBar(const StripLayout& layout);
    std::weak_ptr<StripView> weakSelf();
    std::shared_ptr<StripActionButton> addButton(platform::Rect frame, const std::string& label, std::function<void()> tap);
    void animateScroll(std::shared_ptr<platform::ui::Image> before, std::shared_ptr<platform::ui::Image> after,
                       bool forward, std::uint64_t epoch);
    void drawSlots(platform::ui::Canvas& canvas, StripOwner& owner, const StripLayout& layout);
    void drawChevrons(platform::ui::Canvas& canvas, const StripLayout& layout, std::int64_t count);

    std::weak_ptr<StripOwner> owner_;
    int offset_ = 0;
    bool pointerInside_ = false;
    int hovered_ = -1;
    std::shared_ptr<platform::ui::TrackingArea> track_;
    std::string controlSignature_;
    std::shared_ptr<ScrollTransitionView> scrollTransition_;
    std::uint64_t scrollEpoch_ = 0;
    int scrollAnimationCount_ = 0;
    double accumulated_ = 0;
    // Centred, with no screen to centre on, the item took the strip's width.
    bool centredItemWidened_ = false;
};

}  // namespace orvane
