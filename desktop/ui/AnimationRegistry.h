#pragma once

// The render server's record of running animations, standing in for Core
// Animation's presentation layers: views keep their model values, this keeps
// where each animated value came from and when, and interpolates on demand.

#include <memory>
#include <optional>

#include "platform/Geometry.h"
#include "platform/ui/Animation.h"

namespace platform::ui { class View; }

namespace desktop::ui {

using platform::Rect;
using platform::ui::TimingFunction;
using platform::ui::View;

struct AnimationTiming {
    double start = 0;
    double duration = 0;
    TimingFunction function = TimingFunction::linear;
};

// Progress 0..1 through the timing curve for a linear progress 0..1.
double timingCurve(TimingFunction function, double linearProgress);

// Main thread only. Views are held weakly: a view that dies mid-animation
// leaves nothing behind that could be touched.
namespace animations {
void animateFrame(const std::shared_ptr<View>& view, Rect from, Rect to, AnimationTiming timing);
void animateAlpha(const std::shared_ptr<View>& view, double from, double to, AnimationTiming timing);
// The in-flight value at the run loop's now(), nothing when not animating.
std::optional<Rect> presentationFrame(const View& view);
std::optional<double> presentationAlpha(const View& view);
void removeFrameAnimation(const View& view);
void removeAlphaAnimation(const View& view);
void removeAll(const View& view);
}  // namespace animations

}  // namespace desktop::ui
