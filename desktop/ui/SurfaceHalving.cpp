// Reduced copies of large pictures for drawing them small, standing in for
// the platform's image scaling: successive halvings by exact averaging, then
// one filtered draw of less than two to one.
#include "desktop/ui/SurfaceHalving.h"

#include <cmath>

namespace desktop::ui {

namespace {

cairo_surface_t* halved(cairo_surface_t* source) {
    const int width = cairo_image_surface_get_width(source);
    const int height = cairo_image_surface_get_height(source);
    const int halfWidth = (width + 1) / 2;
    const int halfHeight = (height + 1) / 2;
    cairo_surface_t* half = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, halfWidth, halfHeight);
    if (cairo_surface_status(half) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(half);
        return nullptr;
    }
    cairo_t* cr = cairo_create(half);
    cairo_scale(cr, static_cast<double>(halfWidth) / width, static_cast<double>(halfHeight) / height);
    cairo_set_source_surface(cr, source, 0, 0);
    // Each target pixel's centre falls between four source pixels, so a
    // bilinear sample is their average.
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    const bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    if (!drawn) {
        cairo_surface_destroy(half);
        return nullptr;
    }
    return half;
}

}  // namespace

cairo_surface_t* halvedForDrawing(cairo_surface_t* surface, double deviceWidth, double deviceHeight) {
    if (!surface || !std::isfinite(deviceWidth) || !std::isfinite(deviceHeight)) return surface;
    const double width = std::fabs(deviceWidth), height = std::fabs(deviceHeight);
    while (cairo_image_surface_get_width(surface) >= 2 * width && cairo_image_surface_get_height(surface) >= 2 * height &&
           cairo_image_surface_get_width(surface) > 1 && cairo_image_surface_get_height(surface) > 1) {
        cairo_surface_t* smaller = halved(surface);
        if (!smaller) break;  // Out of memory: draw what there is, filtered at full size.
        cairo_surface_destroy(surface);
        surface = smaller;
    }
    return surface;
}

}  // namespace desktop::ui
