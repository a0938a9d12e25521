// The platform's graphics context on Cairo and Pango: the fills, strokes,
// images and single-line text that views draw, in points with y upwards.

#include "desktop/ui/CairoCanvas.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include <pango/pangocairo.h>

#include "desktop/ui/BitmapContext.h"
#include "desktop/ui/SurfaceHalving.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Image.h"

namespace desktop::ui {
namespace {

// Families tried in order: the CJK face carries both Latin and Chinese.
constexpr const char* fontFamilies = "Noto Sans CJK SC,sans";

bool finite(Rect r) {
    return std::isfinite(r.minX()) && std::isfinite(r.minY()) && std::isfinite(r.width()) && std::isfinite(r.height());
}
bool drawable(Rect r) { return finite(r) && r.width() > 0 && r.height() > 0; }
double unit(double v) { return std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0; }

PangoWeight pangoWeight(Font::Weight weight) {
    switch (weight) {
        case Font::Weight::regular: return PANGO_WEIGHT_NORMAL;
        case Font::Weight::medium: return PANGO_WEIGHT_MEDIUM;
        case Font::Weight::semibold: return PANGO_WEIGHT_SEMIBOLD;
        case Font::Weight::bold: return PANGO_WEIGHT_BOLD;
    }
    return PANGO_WEIGHT_NORMAL;
}

cairo_line_cap_t cairoCap(LineCap cap) {
    switch (cap) {
        case LineCap::butt: return CAIRO_LINE_CAP_BUTT;
        case LineCap::round: return CAIRO_LINE_CAP_ROUND;
        case LineCap::square: return CAIRO_LINE_CAP_SQUARE;
    }
    return CAIRO_LINE_CAP_BUTT;
}

}  // namespace

void appendRoundedRect(cairo_t* cr, Rect rect, double radiusX, double radiusY) {
    double rx = std::clamp(std::isfinite(radiusX) ? radiusX : 0.0, 0.0, rect.width() / 2);
    double ry = std::clamp(std::isfinite(radiusY) ? radiusY : 0.0, 0.0, rect.height() / 2);
    if (rx <= 0 || ry <= 0) {
        cairo_rectangle(cr, rect.minX(), rect.minY(), rect.width(), rect.height());
        return;
    }
    // Quarter ellipses as Bézier curves, counter-clockwise from the bottom edge.
    constexpr double kappa = 0.5522847498;
    double x0 = rect.minX(), y0 = rect.minY(), x1 = rect.maxX(), y1 = rect.maxY();
    double kx = rx * kappa, ky = ry * kappa;
    cairo_new_sub_path(cr);
    cairo_move_to(cr, x0 + rx, y0);
    cairo_line_to(cr, x1 - rx, y0);
    cairo_curve_to(cr, x1 - rx + kx, y0, x1, y0 + ry - ky, x1, y0 + ry);
    cairo_line_to(cr, x1, y1 - ry);
    cairo_curve_to(cr, x1, y1 - ry + ky, x1 - rx + kx, y1, x1 - rx, y1);
    cairo_line_to(cr, x0 + rx, y1);
    cairo_curve_to(cr, x0 + rx - kx, y1, x0, y1 - ry + ky, x0, y1 - ry);
    cairo_line_to(cr, x0, y0 + ry);
    cairo_curve_to(cr, x0, y0 + ry - ky, x0 + rx - kx, y0, x0 + rx, y0);
    cairo_close_path(cr);
}

CairoCanvas::CairoCanvas(cairo_t* cr, AppearanceName appearance) : cr_(cr), appearance_(appearance) {}

CairoCanvas::~CairoCanvas() {
    // A draw() that forgot a restore() must not leave its state to the next view.
    while (!savedAlphas_.empty()) restore();
    if (pango_) g_object_unref(pango_);
}

double CairoCanvas::scale() const {
    cairo_matrix_t m;
    cairo_get_matrix(cr_, &m);
    return std::hypot(m.xx, m.yx);
}

void CairoCanvas::setSource(Color color, double opacity) {
    platform::ui::Rgba c = color.resolved(appearance_);
    cairo_set_source_rgba(cr_, c.r, c.g, c.b, c.a * alpha_ * unit(opacity));
}

void CairoCanvas::fillRect(Rect rect, Color color) {
    if (!drawable(rect)) return;
    cairo_rectangle(cr_, rect.minX(), rect.minY(), rect.width(), rect.height());
    setSource(color);
    cairo_fill(cr_);
}

void CairoCanvas::fillRoundedRect(Rect rect, double radiusX, double radiusY, Color color) {
    if (!drawable(rect)) return;
    appendRoundedRect(cr_, rect, radiusX, radiusY);
    setSource(color);
    cairo_fill(cr_);
}

void CairoCanvas::strokeRoundedRect(Rect rect, double radius, double lineWidth, Color color) {
    if (!drawable(rect) || !(lineWidth > 0) || !std::isfinite(lineWidth)) return;
    appendRoundedRect(cr_, rect, radius, radius);
    setSource(color);
    cairo_set_line_width(cr_, lineWidth);
    cairo_stroke(cr_);
}

void CairoCanvas::fillOval(Rect rect, Color color) {
    if (!drawable(rect)) return;
    cairo_save(cr_);
    cairo_translate(cr_, rect.midX(), rect.midY());
    cairo_scale(cr_, rect.width() / 2, rect.height() / 2);
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr_);
    setSource(color);
    cairo_fill(cr_);
}

void CairoCanvas::strokePolyline(const std::vector<Point>& points, double lineWidth, LineCap cap, Color color) {
    if (points.size() < 2 || !(lineWidth > 0) || !std::isfinite(lineWidth)) return;
    for (const Point& p : points)
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
    cairo_move_to(cr_, points.front().x, points.front().y);
    for (std::size_t i = 1; i < points.size(); ++i) cairo_line_to(cr_, points[i].x, points[i].y);
    setSource(color);
    cairo_set_line_width(cr_, lineWidth);
    cairo_set_line_cap(cr_, cairoCap(cap));
    cairo_set_line_join(cr_, cap == LineCap::round ? CAIRO_LINE_JOIN_ROUND : CAIRO_LINE_JOIN_MITER);
    cairo_stroke(cr_);
}

void CairoCanvas::drawImage(const Image& image, Rect rect, double opacity) {
    drawTintedImage(image, rect, Color::label(), opacity);
}

void CairoCanvas::drawTintedImage(const Image& image, Rect rect, Color tint, double opacity) {
    if (!drawable(rect) || !(image.size().width > 0) || !(image.size().height > 0)) return;
    if (image.bitmap())
        drawBitmapImage(image, rect, opacity, tint);
    else if (image.drawing())
        drawDrawingImage(image, rect, opacity, tint);
}

void CairoCanvas::drawBitmapImage(const Image& image, Rect rect, double opacity, Color tint) {
    const platform::ui::Bitmap& bitmap = *image.bitmap();
    double deviceWidth = rect.width(), deviceHeight = rect.height();
    cairo_user_to_device_distance(cr_, &deviceWidth, &deviceHeight);
    cairo_surface_t* surface = halvedForDrawing(createSurface(bitmap), deviceWidth, deviceHeight);
    if (!surface) return;
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);

    cairo_save(cr_);
    cairo_rectangle(cr_, rect.minX(), rect.minY(), rect.width(), rect.height());
    cairo_clip(cr_);
    // Bitmap rows run from the top: map the pixel grid onto the rectangle upside down.
    cairo_translate(cr_, rect.minX(), rect.maxY());
    cairo_scale(cr_, rect.width() / cairo_image_surface_get_width(surface), -rect.height() / cairo_image_surface_get_height(surface));
    if (image.isTemplate()) {
        setSource(tint, opacity);
        cairo_mask(cr_, pattern);
    } else {
        cairo_set_source(cr_, pattern);
        cairo_paint_with_alpha(cr_, alpha_ * unit(opacity));
    }
    cairo_restore(cr_);
    cairo_pattern_destroy(pattern);
    cairo_surface_destroy(surface);
}

void CairoCanvas::drawDrawingImage(const Image& image, Rect rect, double opacity, Color tint) {
    Size size = image.size();
    cairo_save(cr_);
    cairo_translate(cr_, rect.minX(), rect.minY());
    cairo_scale(cr_, rect.width() / size.width, rect.height() / size.height);
    cairo_rectangle(cr_, 0, 0, size.width, size.height);
    cairo_clip(cr_);
    // The drawing runs at the scale it lands on, so vector marks stay crisp;
    // it is drawn into a group so that opacity and tint apply to it as a whole.
    cairo_push_group(cr_);
    {
        CairoCanvas inner(cr_, appearance_);
        image.drawing()(inner, Rect{0, 0, size.width, size.height});
    }
    cairo_pattern_t* group = cairo_pop_group(cr_);
    if (image.isTemplate()) {
        setSource(tint, opacity);
        cairo_mask(cr_, group);
    } else {
        cairo_set_source(cr_, group);
        cairo_paint_with_alpha(cr_, alpha_ * unit(opacity));
    }
    cairo_pattern_destroy(group);
    cairo_restore(cr_);
}

PangoLayout* CairoCanvas::createLayout(const std::string& text, Font font) {
    if (!pango_) {
        pango_ = pango_cairo_create_context(cr_);
        // Unhinted metrics keep text the same width at every backing scale.
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        pango_cairo_context_set_font_options(pango_, options);
        cairo_font_options_destroy(options);
    }
    pango_cairo_update_context(cr_, pango_);
    PangoLayout* layout = pango_layout_new(pango_);
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, fontFamilies);
    double size = std::isfinite(font.size) ? std::clamp(font.size, 1.0, 1000.0) : 13.0;
    pango_font_description_set_absolute_size(description, size * PANGO_SCALE);
    pango_font_description_set_weight(description, pangoWeight(font.weight));
    pango_layout_set_font_description(layout, description);
    pango_font_description_free(description);
    if (font.monospacedDigits) {
        PangoAttrList* attributes = pango_attr_list_new();
        pango_attr_list_insert(attributes, pango_attr_font_features_new("tnum 1"));
        pango_layout_set_attributes(layout, attributes);
        pango_attr_list_unref(attributes);
    }
    pango_layout_set_single_paragraph_mode(layout, TRUE);
    // Pango refuses invalid UTF-8; such text is drawn as nothing.
    if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr))
        pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    return layout;
}

void CairoCanvas::drawText(const std::string& text, Rect rect, Font font, Color color) {
    if (text.empty() || !drawable(rect)) return;
    showLayout(rect, color, [&] {
        PangoLayout* layout = createLayout(text, font);
        pango_layout_set_width(layout, static_cast<int>(std::min(rect.width(), 1e6) * PANGO_SCALE));
        pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
        return layout;
    });
}

void CairoCanvas::showLayout(Rect rect, Color color, const std::function<PangoLayout*()>& make) {
    cairo_save(cr_);
    // Pango lays text out downwards from a top-left corner.
    cairo_translate(cr_, rect.minX(), rect.maxY());
    cairo_scale(cr_, 1, -1);
    cairo_rectangle(cr_, 0, 0, rect.width(), rect.height());
    cairo_clip(cr_);
    PangoLayout* layout = make();
    setSource(color);
    cairo_move_to(cr_, 0, 0);
    pango_cairo_show_layout(cr_, layout);
    // Showing a layout leaves a current point behind.
    cairo_new_path(cr_);
    g_object_unref(layout);
    cairo_restore(cr_);
}

void CairoCanvas::drawParagraph(const std::string& text, Rect rect, Font font, Color color,
                                platform::ui::TextAlignment alignment, platform::ui::LineBreak lineBreak) {
    using platform::ui::LineBreak;
    using platform::ui::TextAlignment;
    if (text.empty() || !drawable(rect)) return;
    showLayout(rect, color, [&] {
        PangoLayout* layout = nullptr;
        if (lineBreak == LineBreak::wordWrapping) {
            layout = createWrappedLayout(text, font, rect.width(), 0);
        } else {
            layout = createLayout(text, font);
            pango_layout_set_width(layout, static_cast<int>(std::min(rect.width(), 1e6) * PANGO_SCALE));
            pango_layout_set_ellipsize(layout, lineBreak == LineBreak::truncatingMiddle ? PANGO_ELLIPSIZE_MIDDLE : PANGO_ELLIPSIZE_END);
        }
        switch (alignment) {
            case TextAlignment::left: pango_layout_set_alignment(layout, PANGO_ALIGN_LEFT); break;
            case TextAlignment::center: pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER); break;
            case TextAlignment::right: pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT); break;
        }
        return layout;
    });
}

Size CairoCanvas::measureText(const std::string& text, Font font) {
    if (text.empty()) return {};
    PangoLayout* layout = createLayout(text, font);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    g_object_unref(layout);
    return {static_cast<double>(logical.width) / PANGO_SCALE, static_cast<double>(logical.height) / PANGO_SCALE};
}

PangoLayout* CairoCanvas::createWrappedLayout(const std::string& text, Font font, double width, int maxLines) {
    PangoLayout* layout = createLayout(text, font);
    // Line breaks in the text stay breaks; the paragraph mode is for one line.
    pango_layout_set_single_paragraph_mode(layout, FALSE);
    double w = std::isfinite(width) ? std::clamp(width, 1.0, 1e6) : 1e6;
    pango_layout_set_width(layout, static_cast<int>(w * PANGO_SCALE));
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    // A negative height limits the number of lines; the last is ellipsized.
    if (maxLines > 0) {
        pango_layout_set_height(layout, -maxLines);
        pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
    }
    return layout;
}

void CairoCanvas::drawWrappedText(const std::string& text, Rect rect, Font font, Color color, int maxLines, bool centered) {
    if (text.empty() || !drawable(rect)) return;
    showLayout(rect, color, [&] {
        PangoLayout* layout = createWrappedLayout(text, font, rect.width(), maxLines);
        if (centered) pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
        return layout;
    });
}

Size CairoCanvas::measureWrappedText(const std::string& text, Font font, double width, int maxLines) {
    if (text.empty()) return {};
    PangoLayout* layout = createWrappedLayout(text, font, width, maxLines);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    g_object_unref(layout);
    return {static_cast<double>(logical.width) / PANGO_SCALE, static_cast<double>(logical.height) / PANGO_SCALE};
}

void CairoCanvas::save() {
    cairo_save(cr_);
    savedAlphas_.push_back(alpha_);
}

void CairoCanvas::restore() {
    if (savedAlphas_.empty()) return;  // an unbalanced restore must not unwind the caller's state
    cairo_restore(cr_);
    alpha_ = savedAlphas_.back();
    savedAlphas_.pop_back();
}

void CairoCanvas::translate(double dx, double dy) {
    if (std::isfinite(dx) && std::isfinite(dy)) cairo_translate(cr_, dx, dy);
}

void CairoCanvas::clip(Rect rect) {
    if (!finite(rect)) return;
    cairo_rectangle(cr_, rect.minX(), rect.minY(), std::max(rect.width(), 0.0), std::max(rect.height(), 0.0));
    cairo_clip(cr_);
}

void CairoCanvas::setAlpha(double alpha) { alpha_ *= unit(alpha); }

}  // namespace desktop::ui
