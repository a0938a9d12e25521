// The window frame the simulated window server draws, standing in for the
// system's window decorations: the proportions of the platform's title bar
// (28 points, 12-point buttons 20 points apart, centred title), its colours
// in light and dark mode, rounded corners and the soft shadow under windows.

#include "desktop/pictures/WindowChrome.h"

#include "desktop/pictures/ShadowImages.h"

#include <algorithm>
#include <cmath>

#include "desktop/ui/CairoCanvas.h"
#include "desktop/ui/WindowButtons.h"
#include "platform/ui/Color.h"
#include "platform/ui/Font.h"

namespace desktop::chrome {
namespace {

using platform::Rect;
using platform::Size;
using platform::ui::AppearanceName;
using platform::ui::Color;
using platform::ui::Font;

constexpr double buttonDiameter = 12;
constexpr double firstButtonCentre = 14;
constexpr double buttonSpacing = 20;
constexpr double titleFontSize = 13;
constexpr double titleSideMargin = 70;

bool dark(AppearanceName appearance) { return appearance == AppearanceName::darkAqua; }

Color titleBarColour(AppearanceName appearance) {
    return dark(appearance) ? Color::rgba(0.216, 0.216, 0.224) : Color::rgba(0.914, 0.914, 0.918);
}

// The part of a rounded rectangle every pixel of which the shape covers
// whole: a cross, inset by a point from the straight edges and by the radius
// and a point more at the corners, snapped inwards to device pixels so that
// the clip it makes stays a set of boxes. Empty for a shape too small.
bool appendCoveredInterior(cairo_t* cr, Rect shape, double radius) {
    double x[4] = {shape.minX() + 1, shape.minX() + radius + 1, shape.maxX() - radius - 1, shape.maxX() - 1};
    double y[4] = {shape.minY() + 1, shape.minY() + radius + 1, shape.maxY() - radius - 1, shape.maxY() - 1};
    if (!(x[1] < x[2] && y[1] < y[2])) return false;
    // Pixels may be flipped against points on either axis, so each value is
    // snapped towards the middle of the shape.
    const double midX = shape.midX(), midY = shape.midY();
    for (int i = 0; i < 4; ++i) {
        double dx = x[i], dy = y[i];
        cairo_user_to_device(cr, &dx, &dy);
        double mx = midX, my = midY;
        cairo_user_to_device(cr, &mx, &my);
        dx = dx < mx ? std::ceil(dx) : std::floor(dx);
        dy = dy < my ? std::ceil(dy) : std::floor(dy);
        cairo_device_to_user(cr, &dx, &dy);
        x[i] = dx;
        y[i] = dy;
    }
    if (!(x[1] < x[2] && y[1] < y[2] && x[0] <= x[1] && y[0] <= y[1] && x[2] <= x[3] && y[2] <= y[3])) return false;
    const double points[12][2] = {{x[1], y[0]}, {x[2], y[0]}, {x[2], y[1]}, {x[3], y[1]}, {x[3], y[2]}, {x[2], y[2]},
                                  {x[2], y[3]}, {x[1], y[3]}, {x[1], y[2]}, {x[0], y[2]}, {x[0], y[1]}, {x[1], y[1]}};
    cairo_move_to(cr, points[0][0], points[0][1]);
    for (int i = 1; i < 12; ++i) cairo_line_to(cr, points[i][0], points[i][1]);
    cairo_close_path(cr);
    return true;
}

}  // namespace

void clipToOutline(cairo_t* cr, Size size) {
    desktop::ui::appendRoundedRect(cr, {0, 0, size.width, size.height}, cornerRadius, cornerRadius);
    cairo_clip(cr);
}

void drawTitleBar(desktop::ui::CairoCanvas& canvas, Size size, const std::string& title, TitleBarBackground background) {
    AppearanceName appearance = canvas.appearance();
    double top = size.height;
    double bandBottom = top - titleBarHeight;
    if (background == TitleBarBackground::opaque) {
        canvas.fillRect({0, bandBottom, size.width, titleBarHeight}, titleBarColour(appearance));
        canvas.fillRect({0, bandBottom, size.width, dark(appearance) ? 1.0 : 0.5},
                        dark(appearance) ? Color::black().withAlpha(0.6) : Color::black().withAlpha(0.12));
    }
    double centreY = top - titleBarHeight / 2;
    const platform::ui::WindowButton buttons[3] = {platform::ui::WindowButton::close,
                                                   platform::ui::WindowButton::miniaturize,
                                                   platform::ui::WindowButton::zoom};
    for (int i = 0; i < 3; ++i) {
        double cx = firstButtonCentre + i * buttonSpacing;
        Rect outer{cx - buttonDiameter / 2, centreY - buttonDiameter / 2, buttonDiameter, buttonDiameter};
        // Another application's window is drawn as its key window shows it.
        desktop::ui::drawWindowButton(canvas, outer, buttons[i], /*active=*/true, /*present=*/true);
    }
    if (title.empty()) return;
    Font font = Font::system(titleFontSize, Font::Weight::semibold);
    Size measured = canvas.measureText(title, font);
    double available = std::max(0.0, size.width - 2 * titleSideMargin);
    double width = std::min(measured.width, available);
    Rect box{(size.width - width) / 2, centreY - measured.height / 2, width, measured.height};
    canvas.drawText(title, box, font, dark(appearance) ? Color::white().withAlpha(0.85) : Color::black().withAlpha(0.8));
}

void drawOutlineEdge(desktop::ui::CairoCanvas& canvas, Size size) {
    bool isDark = dark(canvas.appearance());
    Rect outline{0.25, 0.25, size.width - 0.5, size.height - 0.5};
    canvas.strokeRoundedRect(outline, cornerRadius, 0.5, isDark ? Color::white().withAlpha(0.22) : Color::black().withAlpha(0.22));
}

void drawShadow(cairo_t* cr, Rect shape, double radius, Shadow shadow, ShadowUnder under) {
    auto image = shadowImage(shape.size, radius, shadow.blur, shadow.opacity);
    if (!image) return;
    double margin = shadowMargin(shadow.blur);
    cairo_save(cr);
    // A translucent window must not show its own shadow: the shadow goes
    // only around the shape. Under an opaque one it is left out where the
    // window hides it anyway, so its scaled image is sampled only on the rim.
    cairo_rectangle(cr, shape.minX() - 2 * margin, shape.minY() - 2 * margin + shadow.offsetY,
                    shape.width() + 4 * margin, shape.height() + 4 * margin - 2 * shadow.offsetY);
    bool clipped = true;
    if (under == ShadowUnder::hidden) desktop::ui::appendRoundedRect(cr, shape, radius, radius);
    else clipped = appendCoveredInterior(cr, shape, radius);
    if (clipped) {
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_clip(cr);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    } else {
        cairo_new_path(cr);
    }
    // The image's rows run downwards; user space runs upwards.
    cairo_translate(cr, shape.minX() - margin, shape.maxY() + margin + shadow.offsetY);
    cairo_scale(cr, 1 / shadowImageScale, -1 / shadowImageScale);
    cairo_set_source_surface(cr, image.get(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_paint(cr);
    cairo_restore(cr);
}

}  // namespace desktop::chrome
