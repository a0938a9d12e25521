// The platform's symbol images, standing in for SF Symbols: the glyphs the
// library names, drawn as vector paths so they stay crisp at every backing
// scale, as templates that take the colour they are drawn in. An unknown name
// gives no image, as the platform does; the declarative toolkit shows a
// neutral rounded square in its place.

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include <cairo.h>

#include "desktop/ui/CairoCanvas.h"
#include "desktop/ui/SystemSymbols.h"
#include "platform/ui/Image.h"

namespace platform::ui {
namespace {

// Glyphs are drawn in a unit square, y downwards, with this stroke width.
constexpr double strokeWidth = 0.085;

using Glyph = void (*)(cairo_t*);

void line(cairo_t* cr, double x0, double y0, double x1, double y1) {
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
}

void polyline(cairo_t* cr, std::initializer_list<std::pair<double, double>> points) {
    bool first = true;
    for (auto [x, y] : points) {
        if (first) cairo_move_to(cr, x, y);
        else cairo_line_to(cr, x, y);
        first = false;
    }
}

void roundedRect(cairo_t* cr, double x0, double y0, double x1, double y1, double r) {
    desktop::ui::appendRoundedRect(cr, Rect{x0, y0, x1 - x0, y1 - y0}, r, r);
}

void circle(cairo_t* cr, double cx, double cy, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
}

void stroke(cairo_t* cr) { cairo_stroke(cr); }
void fill(cairo_t* cr) { cairo_fill(cr); }

// Cuts what follows out of what was drawn (a mark inside a filled shape).
void cutOut(cairo_t* cr) { cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR); }

void menubarRectangle(cairo_t* cr) {
    roundedRect(cr, 0.07, 0.17, 0.93, 0.83, 0.12);
    stroke(cr);
    cairo_rectangle(cr, 0.07, 0.17, 0.86, 0.17);
    fill(cr);
}

void plusApp(cairo_t* cr) {
    roundedRect(cr, 0.1, 0.1, 0.9, 0.9, 0.2);
    stroke(cr);
    line(cr, 0.5, 0.3, 0.5, 0.7);
    line(cr, 0.3, 0.5, 0.7, 0.5);
    stroke(cr);
}

void sliderHorizontal3(cairo_t* cr) {
    const double rows[3] = {0.22, 0.5, 0.78};
    const double knobs[3] = {0.66, 0.34, 0.58};
    for (int i = 0; i < 3; ++i) line(cr, 0.08, rows[i], 0.92, rows[i]);
    stroke(cr);
    for (int i = 0; i < 3; ++i) circle(cr, knobs[i], rows[i], 0.1);
    fill(cr);
}

void keyboard(cairo_t* cr) {
    roundedRect(cr, 0.04, 0.2, 0.96, 0.8, 0.1);
    stroke(cr);
    for (double y : {0.34, 0.48})
        for (double x : {0.2, 0.35, 0.5, 0.65, 0.8}) cairo_rectangle(cr, x - 0.045, y - 0.04, 0.09, 0.08);
    fill(cr);
    line(cr, 0.3, 0.65, 0.7, 0.65);
    stroke(cr);
}

void squareAndArrowDown(cairo_t* cr) {
    polyline(cr, {{0.32, 0.4}, {0.16, 0.4}, {0.16, 0.92}, {0.84, 0.92}, {0.84, 0.4}, {0.68, 0.4}});
    stroke(cr);
    line(cr, 0.5, 0.06, 0.5, 0.66);
    polyline(cr, {{0.34, 0.5}, {0.5, 0.66}, {0.66, 0.5}});
    stroke(cr);
}

void plus(cairo_t* cr) {
    line(cr, 0.5, 0.14, 0.5, 0.86);
    line(cr, 0.14, 0.5, 0.86, 0.5);
    stroke(cr);
}

void rectangleCompressVertical(cairo_t* cr) {
    roundedRect(cr, 0.1, 0.4, 0.9, 0.6, 0.05);
    stroke(cr);
    line(cr, 0.5, 0.02, 0.5, 0.28);
    polyline(cr, {{0.37, 0.16}, {0.5, 0.29}, {0.63, 0.16}});
    line(cr, 0.5, 0.98, 0.5, 0.72);
    polyline(cr, {{0.37, 0.84}, {0.5, 0.71}, {0.63, 0.84}});
    stroke(cr);
}

void exclamationmarkTriangleFill(cairo_t* cr) {
    polyline(cr, {{0.5, 0.1}, {0.94, 0.87}, {0.06, 0.87}});
    cairo_close_path(cr);
    cairo_fill_preserve(cr);
    stroke(cr);
    cutOut(cr);
    roundedRect(cr, 0.455, 0.33, 0.545, 0.64, 0.04);
    circle(cr, 0.5, 0.75, 0.055);
    fill(cr);
}

void checkmarkCircleFill(cairo_t* cr) {
    circle(cr, 0.5, 0.5, 0.46);
    fill(cr);
    cutOut(cr);
    cairo_set_line_width(cr, 0.1);
    polyline(cr, {{0.29, 0.52}, {0.44, 0.67}, {0.71, 0.35}});
    stroke(cr);
}

void xmark(cairo_t* cr) {
    line(cr, 0.2, 0.2, 0.8, 0.8);
    line(cr, 0.8, 0.2, 0.2, 0.8);
    stroke(cr);
}

void pin(cairo_t* cr) {
    line(cr, 0.3, 0.1, 0.7, 0.1);
    polyline(cr, {{0.39, 0.1}, {0.39, 0.42}, {0.24, 0.6}, {0.76, 0.6}, {0.61, 0.42}, {0.61, 0.1}});
    line(cr, 0.5, 0.6, 0.5, 0.95);
    stroke(cr);
}

void arrowRightToLine(cairo_t* cr) {
    line(cr, 0.06, 0.5, 0.68, 0.5);
    polyline(cr, {{0.48, 0.3}, {0.68, 0.5}, {0.48, 0.7}});
    line(cr, 0.9, 0.16, 0.9, 0.84);
    stroke(cr);
}

void menubarDockRectangle(cairo_t* cr) {
    roundedRect(cr, 0.05, 0.14, 0.95, 0.86, 0.12);
    stroke(cr);
    cairo_rectangle(cr, 0.05, 0.14, 0.9, 0.15);
    roundedRect(cr, 0.28, 0.66, 0.72, 0.76, 0.04);
    fill(cr);
}

void chevronUp(cairo_t* cr) { polyline(cr, {{0.18, 0.66}, {0.5, 0.34}, {0.82, 0.66}}); stroke(cr); }
void chevronDown(cairo_t* cr) { polyline(cr, {{0.18, 0.34}, {0.5, 0.66}, {0.82, 0.34}}); stroke(cr); }

void minusCircle(cairo_t* cr) {
    circle(cr, 0.5, 0.5, 0.43);
    line(cr, 0.3, 0.5, 0.7, 0.5);
    stroke(cr);
}

void magnifyingglass(cairo_t* cr) {
    circle(cr, 0.42, 0.42, 0.3);
    stroke(cr);
    cairo_set_line_width(cr, strokeWidth * 1.4);
    line(cr, 0.64, 0.64, 0.9, 0.9);
    stroke(cr);
}

void xmarkCircleFill(cairo_t* cr) {
    circle(cr, 0.5, 0.5, 0.46);
    fill(cr);
    cutOut(cr);
    line(cr, 0.34, 0.34, 0.66, 0.66);
    line(cr, 0.66, 0.34, 0.34, 0.66);
    stroke(cr);
}

void macwindow(cairo_t* cr) {
    roundedRect(cr, 0.05, 0.14, 0.95, 0.86, 0.1);
    line(cr, 0.05, 0.34, 0.95, 0.34);
    stroke(cr);
    for (double x : {0.16, 0.25, 0.34}) circle(cr, x, 0.24, 0.035);
    fill(cr);
}

void circleOutline(cairo_t* cr) {
    circle(cr, 0.5, 0.5, 0.43);
    stroke(cr);
}

void dockRectangle(cairo_t* cr) {
    roundedRect(cr, 0.05, 0.14, 0.95, 0.86, 0.12);
    stroke(cr);
    roundedRect(cr, 0.24, 0.64, 0.76, 0.75, 0.04);
    fill(cr);
}

void power(cairo_t* cr) {
    cairo_new_sub_path(cr);
    // An open ring with its gap at the top, and the bar through the gap.
    cairo_arc(cr, 0.5, 0.54, 0.37, -M_PI / 2 + 0.6, 3 * M_PI / 2 - 0.6);
    line(cr, 0.5, 0.08, 0.5, 0.5);
    stroke(cr);
}

void sidebarLeft(cairo_t* cr) {
    roundedRect(cr, 0.05, 0.16, 0.95, 0.84, 0.12);
    line(cr, 0.38, 0.16, 0.38, 0.84);
    stroke(cr);
    for (double y : {0.32, 0.44, 0.56}) line(cr, 0.14, y, 0.28, y);
    cairo_set_line_width(cr, strokeWidth * 0.8);
    stroke(cr);
}

void unknownSymbol(cairo_t* cr) {
    roundedRect(cr, 0.14, 0.14, 0.86, 0.86, 0.18);
    stroke(cr);
}

const std::map<std::string, Glyph>& glyphs() {
    static const std::map<std::string, Glyph> all = {
        {"menubar.rectangle", menubarRectangle},
        {"plus.app", plusApp},
        {"slider.horizontal.3", sliderHorizontal3},
        {"keyboard", keyboard},
        {"square.and.arrow.down", squareAndArrowDown},
        {"plus", plus},
        {"rectangle.compress.vertical", rectangleCompressVertical},
        {"exclamationmark.triangle.fill", exclamationmarkTriangleFill},
        {"checkmark.circle.fill", checkmarkCircleFill},
        {"xmark", xmark},
        {"pin", pin},
        {"arrow.right.to.line", arrowRightToLine},
        {"menubar.dock.rectangle", menubarDockRectangle},
        {"chevron.up", chevronUp},
        {"chevron.down", chevronDown},
        {"minus.circle", minusCircle},
        {"magnifyingglass", magnifyingglass},
        {"xmark.circle.fill", xmarkCircleFill},
        {"macwindow", macwindow},
        {"circle", circleOutline},
        {"dock.rectangle", dockRectangle},
        {"power", power},
        {"sidebar.left", sidebarLeft},
    };
    return all;
}

// Glyphs narrower than a square: one stroked polyline in their own points.
struct NarrowGlyph {
    Size size;
    std::vector<Point> stroke;
    double lineWidth;
};

const std::map<std::string, NarrowGlyph>& narrowGlyphs() {
    static const std::map<std::string, NarrowGlyph> table = {
        {"chevron.left", {{9, 14}, {{6.5, 12}, {2, 7}, {6.5, 2}}, 1.9}},
        {"chevron.right", {{9, 14}, {{2.5, 12}, {7, 7}, {2.5, 2}}, 1.9}},
    };
    return table;
}

// Square glyphs are this many points on a side unless drawn bigger.
constexpr double squareSide = 16;

void drawGlyph(Glyph glyph, Canvas& canvas, Rect bounds) {
    auto* cairo = dynamic_cast<desktop::ui::CairoCanvas*>(&canvas);
    if (!cairo || !(bounds.width() > 0) || !(bounds.height() > 0)) return;
    cairo_t* cr = cairo->context();
    cairo_save(cr);
    // Unit square, y downwards, as the glyphs are written.
    cairo_translate(cr, bounds.minX(), bounds.maxY());
    cairo_scale(cr, bounds.width(), -bounds.height());
    cairo_new_path(cr);
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    cairo_set_line_width(cr, strokeWidth);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    glyph(cr);
    cairo_new_path(cr);
    cairo_restore(cr);
}

}  // namespace

bool Image::hasSystemSymbol(const std::string& name) { return glyphs().count(name) > 0 || narrowGlyphs().count(name) > 0; }

std::shared_ptr<Image> Image::systemSymbol(const std::string& name, std::string accessibilityDescription) {
    std::shared_ptr<Image> image;
    if (auto narrow = narrowGlyphs().find(name); narrow != narrowGlyphs().end()) {
        const NarrowGlyph glyph = narrow->second;
        image = withDrawing(glyph.size, [glyph](Canvas& canvas, Rect) {
            canvas.strokePolyline(glyph.stroke, glyph.lineWidth, LineCap::round, Color::label());
        });
    } else if (auto found = glyphs().find(name); found != glyphs().end()) {
        Glyph glyph = found->second;
        image = withDrawing({squareSide, squareSide}, [glyph](Canvas& canvas, Rect bounds) { drawGlyph(glyph, canvas, bounds); });
    } else {
        return nullptr;
    }
    image->setTemplate(true);
    image->setAccessibilityDescription(std::move(accessibilityDescription));
    return image;
}

}  // namespace platform::ui

namespace desktop::ui {

std::shared_ptr<platform::ui::Image> neutralSymbol() {
    auto image = platform::ui::Image::withDrawing({platform::ui::squareSide, platform::ui::squareSide},
                                                  [](platform::ui::Canvas& canvas, platform::Rect bounds) {
                                                      platform::ui::drawGlyph(platform::ui::unknownSymbol, canvas, bounds);
                                                  });
    image->setTemplate(true);
    return image;
}

}  // namespace desktop::ui
