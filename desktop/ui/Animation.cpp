// Animation groups as the platform's animation context runs them: changes
// made through the animator take their model value at once and their
// presentation value moves there over the group's duration; the completion
// runs on the main run loop once the duration has elapsed on its clock.

#include "platform/ui/Animation.h"

#include <cmath>

#include "desktop/ui/AnimationRegistry.h"
#include "platform/RunLoop.h"
#include "platform/ui/View.h"

namespace platform::ui {
namespace {

class GroupAnimator : public Animator {
public:
    explicit GroupAnimator(desktop::ui::AnimationTiming timing) : timing_(timing) {}

    void setAlpha(const std::shared_ptr<View>& view, double alpha) override {
        if (!view || !std::isfinite(alpha)) return;
        double from = view->presentationAlpha();
        view->setAlpha(alpha);
        desktop::ui::animations::animateAlpha(view, from, view->alpha(), timing_);
    }

    void setFrame(const std::shared_ptr<View>& view, Rect frame) override {
        if (!view) return;
        Rect from = view->presentationFrame();
        view->setFrame(frame);
        desktop::ui::animations::animateFrame(view, from, view->frame(), timing_);
    }

private:
    desktop::ui::AnimationTiming timing_;
};

}  // namespace

void runAnimationGroup(double duration, TimingFunction timing, const std::function<void(Animator&)>& changes,
                       std::function<void()> completion) {
    double seconds = std::isfinite(duration) && duration > 0 ? duration : 0;
    GroupAnimator animator({runLoop().now(), seconds, timing});
    if (changes) changes(animator);
    if (completion) runLoop().after(seconds, std::move(completion));
}

}  // namespace platform::ui
