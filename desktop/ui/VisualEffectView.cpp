// The platform's visual-effect backdrop. Without a compositor to blur what is
// behind, it draws the material as a rounded, slightly translucent fill.

#include "platform/ui/VisualEffectView.h"

#include "platform/ui/Canvas.h"

namespace platform::ui {
namespace {
constexpr double materialOpacity = 0.94;
}

VisualEffectView::VisualEffectView(Rect frame) : View(frame) {}

void VisualEffectView::draw(Canvas& canvas) {
    canvas.fillRoundedRect(bounds(), cornerRadius_, cornerRadius_, Color::windowBackground().withAlpha(materialOpacity));
}

}  // namespace platform::ui
