#pragma once

#include <memory>

#include "platform/ui/View.h"

namespace orvane {

// Holds the outgoing and incoming snapshots while the strip animates a scroll
// step. Transparent to the mouse, so clicks, hover and scrolling keep
// reaching the buttons underneath during the animation.
class ScrollTransitionView : public platform::ui::View {
public:
    using View::View;

    std::shared_ptr<platform::ui::View> hitTest(platform::Point) override { return nullptr; }
};

}  // namespace orvane
