// The platform's visual-effect backdrop. Without a compositor to blur what is
// behind, it draws the material as a rounded, slightly translucent fill with
// the hairline edge that menus and popovers wear. The rounding is its own
// corner radius or, for a layer that clips to rounded bounds, the layer's.

#include "platform/ui/VisualEffectView.h"

#include <algorithm>

#include "platform/ui/Canvas.h"

namespace platform::ui {
namespace {
constexpr double materialOpacity = 0.94;
constexpr double edgeWidth = 1;
}  // namespace

VisualEffectView::VisualEffectView(Rect frame) : View(frame) {}

void VisualEffectView::draw(Canvas& canvas) {
    double radius = std::max(cornerRadius_, masksToBounds() ? layerCornerRadius() : 0.0);
    canvas.fillRoundedRect(bounds(), radius, radius, Color::windowBackground().withAlpha(materialOpacity));
    // One device pixel wide, just inside the edge.
    double width = edgeWidth / std::max(canvas.scale(), 1.0);
    Rect edge = bounds().insetBy(width / 2, width / 2);
    canvas.strokeRoundedRect(edge, std::max(radius - width / 2, 0.0), width, Color::named(Color::Semantic::separator));
}

}  // namespace platform::ui
