#include "tests/support/StraightPixels.h"

#include <cairo.h>
#include <png.h>

#include "platform/ui/Bitmap.h"

namespace orvane::test {

StraightPixels decodeStraight(const std::string& png) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    StraightPixels pixels;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return pixels;
    image.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        return pixels;
    }
    pixels.width = static_cast<int>(image.width);
    pixels.height = static_cast<int>(image.height);
    pixels.rgba = std::move(rgba);
    return pixels;
}

std::string cairoPng(const platform::ui::Bitmap& bitmap) {
    auto* data = reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(bitmap.pixels().data()));
    cairo_surface_t* surface = cairo_image_surface_create_for_data(data, CAIRO_FORMAT_ARGB32, bitmap.pixelsWide(),
                                                                   bitmap.pixelsHigh(), bitmap.pixelsWide() * 4);
    std::string png;
    auto append = [](void* closure, const unsigned char* bytes, unsigned int length) {
        static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(bytes), length);
        return CAIRO_STATUS_SUCCESS;
    };
    if (cairo_surface_write_to_png_stream(surface, append, &png) != CAIRO_STATUS_SUCCESS) png.clear();
    cairo_surface_destroy(surface);
    return png;
}

}  // namespace orvane::test
