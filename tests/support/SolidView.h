#pragma once

// A view that fills its bounds with one colour, so a rendered picture shows
// exactly where the view lies.

#include "platform/Geometry.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Color.h"
#include "platform/ui/View.h"

namespace orvane::test {

class SolidView : public platform::ui::View {
public:
    SolidView(platform::Rect frame, platform::ui::Color colour) : View(frame), colour_(colour) {}
    void draw(platform::ui::Canvas& canvas) override { canvas.fillRect(bounds(), colour_); }

private:
    platform::ui::Color colour_;
};

}  // namespace orvane::test
