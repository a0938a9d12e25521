#pragma once

#include <functional>
#include <memory>

#include "platform/Geometry.h"

namespace platform::ui {

class View;

enum class TimingFunction { linear, easeIn, easeOut, easeInEaseOut };

// Collects the animated changes of one group: the model value is set at
// once, the presentation value moves towards it over the group's duration.
class Animator {
public:
    virtual ~Animator() = default;
    virtual void setAlpha(const std::shared_ptr<View>& view, double alpha) = 0;
    virtual void setFrame(const std::shared_ptr<View>& view, Rect frame) = 0;
};

// Runs changes inside one animation group; completion runs on the main run
// loop when the duration has elapsed on its clock.
void runAnimationGroup(double duration, TimingFunction timing,
                       const std::function<void(Animator&)>& changes,
                       std::function<void()> completion);

}  // namespace platform::ui
