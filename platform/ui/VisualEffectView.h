#pragma once

#include "platform/ui/View.h"

namespace platform::ui {

// The platform's numbers for the backdrop's material, state and blending.
namespace material { inline constexpr int titlebar = 3; inline constexpr int menu = 5; inline constexpr int popover = 6; inline constexpr int hudWindow = 13; }
namespace effectState { inline constexpr int followsWindowActiveState = 0; inline constexpr int active = 1; inline constexpr int inactive = 2; }
namespace blending { inline constexpr int behindWindow = 0; inline constexpr int withinWindow = 1; }

// A translucent backdrop (menus, popovers, cards). Drawn as a rounded,
// slightly translucent fill of the window background colour.
class VisualEffectView : public View {
public:
    explicit VisualEffectView(Rect frame = {});

    int material() const { return material_; }
    void setMaterial(int material) { material_ = material; setNeedsDisplay(); }
    int state() const { return state_; }
    void setState(int state) { state_ = state; setNeedsDisplay(); }
    int blendingMode() const { return blendingMode_; }
    void setBlendingMode(int mode) { blendingMode_ = mode; setNeedsDisplay(); }
    double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double radius) { cornerRadius_ = radius; setNeedsDisplay(); }

    void draw(Canvas& canvas) override;

private:
    int material_ = 0;
    int state_ = effectState::followsWindowActiveState;
    int blendingMode_ = blending::behindWindow;
    double cornerRadius_ = 0;
};

}  // namespace platform::ui
