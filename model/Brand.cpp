#include "model/Brand.h"

#include <algorithm>
#include <cmath>

#include "platform/Application.h"
#include "platform/Workspace.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Image.h"

namespace orvane {
namespace {

constexpr double grid = 24;

struct MarkShape {
    double x, y, width, height, radius;
    bool accent;
};

// In grid units from the grid's bottom-left, in drawing order.
constexpr MarkShape markShapes[] = {
    {3, 18, 18, 2, 1, true},        // rail
    {3, 4, 4.8, 8, 1.4, false},     // left bar
    {9.6, 4, 4.8, 11.5, 1.4, true}, // middle bar
    {16.2, 4, 4.8, 8, 1.4, false},  // right bar
};

}  // namespace

std::shared_ptr<platform::ui::Image> Brand::icon() {
    if (auto image = platform::application().applicationIconImage()) return image;
    return platform::workspace().iconForFile(platform::application().mainBundlePath().value_or(""));
}

std::shared_ptr<platform::ui::Image> Brand::menuImage() {
    auto image = platform::ui::Image::withDrawing({menuImageSide, menuImageSide},
                                                  [](platform::ui::Canvas& canvas, platform::Rect bounds) {
                                                      drawMark(canvas, bounds, platform::ui::Color::black());
                                                  });
    if (image) image->setTemplate(true);
    return image;
}

void Brand::drawMark(platform::ui::Canvas& canvas, platform::Rect rect, platform::ui::Color ink,
                     std::optional<platform::ui::Color> accent) {
    double u = std::min(rect.width(), rect.height()) / grid;
    if (!std::isfinite(u) || u <= 0) return;
    double ox = rect.midX() - grid / 2 * u;
    double oy = rect.midY() - grid / 2 * u;
    platform::ui::Color accentInk = accent.value_or(ink);
    for (const MarkShape& s : markShapes) {
        platform::Rect r{ox + s.x * u, oy + s.y * u, s.width * u, s.height * u};
        canvas.fillRoundedRect(r, s.radius * u, s.radius * u, s.accent ? accentInk : ink);
    }
}

}  // namespace orvane
