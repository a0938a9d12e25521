#include "tests/support/PngFile.h"

#include <cstdint>

namespace orvane::test {

PngFile::PngFile(const std::string& path) : surface_(cairo_image_surface_create_from_png(path.c_str())) {}

PngFile::~PngFile() { cairo_surface_destroy(surface_); }

bool PngFile::valid() const { return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS; }

int PngFile::width() const { return valid() ? cairo_image_surface_get_width(surface_) : 0; }

int PngFile::height() const { return valid() ? cairo_image_surface_get_height(surface_) : 0; }

PngFile::Pixel PngFile::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width() || y >= height()) return {-1, -1, -1, -1};
    auto* row = cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
    const std::uint32_t word = reinterpret_cast<const std::uint32_t*>(row)[x];
    const int a = static_cast<int>(word >> 24);
    auto plain = [a](std::uint32_t c) { return a ? static_cast<int>(c) * 255 / a : 0; };
    return {plain((word >> 16) & 0xFF), plain((word >> 8) & 0xFF), plain(word & 0xFF), a};
}

}  // namespace orvane::test
