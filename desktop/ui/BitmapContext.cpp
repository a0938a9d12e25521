// Cairo contexts over Bitmap pixels, standing in for the platform's bitmap
// graphics contexts.

#include "desktop/ui/BitmapContext.h"

namespace desktop::ui {

cairo_surface_t* createSurface(const platform::ui::Bitmap& bitmap) {
    int width = bitmap.pixelsWide();
    int height = bitmap.pixelsHigh();
    if (width <= 0 || height <= 0) return nullptr;
    int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width);
    if (stride != width * 4) return nullptr;
    auto* data = reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(bitmap.pixels().data()));
    cairo_surface_t* surface = cairo_image_surface_create_for_data(data, CAIRO_FORMAT_ARGB32, width, height, stride);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    return surface;
}

BitmapContext::BitmapContext(platform::ui::Bitmap& bitmap) {
    platform::Size points = bitmap.size();
    if (!(points.width > 0) || !(points.height > 0)) return;
    surface_ = createSurface(bitmap);
    if (!surface_) return;
    cr_ = cairo_create(surface_);
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) {
        cairo_destroy(cr_);
        cr_ = nullptr;
        return;
    }
    cairo_scale(cr_, bitmap.pixelsWide() / points.width, bitmap.pixelsHigh() / points.height);
    cairo_translate(cr_, 0, points.height);
    cairo_scale(cr_, 1, -1);
}

BitmapContext::~BitmapContext() {
    if (cr_) cairo_destroy(cr_);
    if (surface_) {
        cairo_surface_flush(surface_);
        cairo_surface_destroy(surface_);
    }
}

}  // namespace desktop::ui
