#pragma once

#include "platform/ui/View.h"

namespace platform::ui {

// A translucent backdrop (menus, popovers, cards). Drawn as a rounded,
// slightly translucent fill of the window background colour.
class VisualEffectView : public View {
public:
    explicit VisualEffectView(Rect frame = {});

    int material() const { return material_; }
    void setMaterial(int material) { material_ = material; setNeedsDisplay(); }
    double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double radius) { cornerRadius_ = radius; setNeedsDisplay(); }

    void draw(Canvas& canvas) override;

private:
    int material_ = 0;
    double cornerRadius_ = 0;
};

}  // namespace platform::ui
