// The window frame the simulated window server draws, standing in for the
// system's window decorations: the proportions of the platform's title bar
// (28 points, 12-point buttons 20 points apart, centred title), its colours
// in light and dark mode, rounded corners and the soft shadow under windows.

#include "desktop/pictures/WindowChrome.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

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

// Separable box blur of an 8-bit alpha surface, run three times for a
// near-Gaussian falloff.
void boxBlur(cairo_surface_t* surface, int radius) {
    if (radius < 1) return;
    cairo_surface_flush(surface);
    int width = cairo_image_surface_get_width(surface);
    int height = cairo_image_surface_get_height(surface);
    int stride = cairo_image_surface_get_stride(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    std::vector<int> line(static_cast<std::size_t>(std::max(width, height)));
    auto pass = [&](int count, int length, auto at) {
        for (int i = 0; i < count; ++i) {
            for (int j = 0; j < length; ++j) line[j] = at(i, j);
            int sum = 0;
            for (int j = -radius; j <= radius; ++j) sum += line[std::clamp(j, 0, length - 1)];
            for (int j = 0; j < length; ++j) {
                at(i, j) = static_cast<unsigned char>(sum / (2 * radius + 1));
                sum += line[std::min(j + radius + 1, length - 1)] - line[std::max(j - radius, 0)];
            }
        }
    };
    for (int round = 0; round < 3; ++round) {
        pass(height, width, [&](int y, int x) -> unsigned char& { return data[y * stride + x]; });
        pass(width, height, [&](int x, int y) -> unsigned char& { return data[y * stride + x]; });
    }
    cairo_surface_mark_dirty(surface);
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
    if (!(shape.width() > 0) || !(shape.height() > 0) || !std::isfinite(shape.width()) || !std::isfinite(shape.height())) return;
    // The shadow is drawn small and blurred there: its softness needs no detail.
    constexpr double shadowScale = 0.5;
    double margin = shadow.blur * 1.5;
    int width = static_cast<int>(std::ceil((shape.width() + 2 * margin) * shadowScale));
    int height = static_cast<int>(std::ceil((shape.height() + 2 * margin) * shadowScale));
    constexpr int largest = 8192;
    if (width > largest || height > largest) return;
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    cairo_surface_t* tinted = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(mask) != CAIRO_STATUS_SUCCESS || cairo_surface_status(tinted) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(mask);
        cairo_surface_destroy(tinted);
        return;
    }
    cairo_t* m = cairo_create(mask);
    cairo_scale(m, shadowScale, shadowScale);
    desktop::ui::appendRoundedRect(m, {margin, margin, shape.width(), shape.height()}, radius, radius);
    cairo_set_source_rgba(m, 0, 0, 0, 1);
    cairo_fill(m);
    cairo_destroy(m);
    boxBlur(mask, std::max(1, static_cast<int>(std::lround(shadow.blur * shadowScale / 3))));
    // Black of the blurred coverage as a plain image: scaling an image source
    // is much cheaper for the compositor than scaling a mask.
    auto opacity = static_cast<std::uint32_t>(std::lround(std::clamp(shadow.opacity, 0.0, 1.0) * 255));
    const unsigned char* from = cairo_image_surface_get_data(mask);
    unsigned char* to = cairo_image_surface_get_data(tinted);
    int fromStride = cairo_image_surface_get_stride(mask), toStride = cairo_image_surface_get_stride(tinted);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(to + y * toStride);
        for (int x = 0; x < width; ++x)
            row[x] = ((from[y * fromStride + x] * opacity + 127) / 255) << 24;
    }
    cairo_surface_mark_dirty(tinted);
    cairo_surface_destroy(mask);

    cairo_save(cr);
    if (under == ShadowUnder::hidden) {
        // Only around the shape: a translucent window must not show its own shadow.
        cairo_rectangle(cr, shape.minX() - 2 * margin, shape.minY() - 2 * margin + shadow.offsetY,
                        shape.width() + 4 * margin, shape.height() + 4 * margin - 2 * shadow.offsetY);
        desktop::ui::appendRoundedRect(cr, shape, radius, radius);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_clip(cr);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    }
    // The image's rows run downwards; user space runs upwards.
    cairo_translate(cr, shape.minX() - margin, shape.maxY() + margin + shadow.offsetY);
    cairo_scale(cr, 1 / shadowScale, -1 / shadowScale);
    cairo_set_source_surface(cr, tinted, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(tinted);
}

}  // namespace desktop::chrome
