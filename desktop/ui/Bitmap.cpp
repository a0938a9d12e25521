// Offscreen bitmaps as the platform's bitmap image representations: pixels in
// Cairo's native premultiplied ARGB layout, so views render straight into
// them, and PNG encoding through the one PNG writer.

#include "platform/ui/Bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "desktop/ui/PngWriter.h"

namespace platform::ui {
namespace {

int nonNegative(int value) { return std::max(value, 0); }

}  // namespace

Bitmap::Bitmap(int pixelsWide, int pixelsHigh, Size pointSize, BitmapPixels initial)
    : pixelsWide_(nonNegative(pixelsWide)), pixelsHigh_(nonNegative(pixelsHigh)), size_(pointSize) {
    pixels_ = Pixels(static_cast<std::size_t>(pixelsWide_) * static_cast<std::size_t>(pixelsHigh_), initial);
}

Bitmap::Pixel Bitmap::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= pixelsWide_ || y >= pixelsHigh_) return {0, 0, 0, 0};
    std::uint32_t word = pixels_[static_cast<std::size_t>(y) * pixelsWide_ + x];
    int a = (word >> 24) & 0xFF;
    if (a == 0) return {0, 0, 0, 0};
    auto unpremultiply = [a](std::uint32_t c) { return static_cast<int>((c * 255 + a / 2) / a); };
    return {unpremultiply((word >> 16) & 0xFF), unpremultiply((word >> 8) & 0xFF), unpremultiply(word & 0xFF), a};
}

std::shared_ptr<Bitmap> Bitmap::cropped(Rect pixelRect) const {
    const Rect& r = pixelRect;
    if (!std::isfinite(r.minX()) || !std::isfinite(r.minY()) || !std::isfinite(r.width()) || !std::isfinite(r.height()))
        return nullptr;
    // Like the platform's image cropping: the rectangle is made integral and
    // intersected with the image; an empty intersection gives nothing.
    double left = std::max(std::floor(r.minX()), 0.0);
    double bottom = std::max(std::floor(r.minY()), 0.0);
    double right = std::min(std::ceil(r.maxX()), static_cast<double>(pixelsWide_));
    double top = std::min(std::ceil(r.maxY()), static_cast<double>(pixelsHigh_));
    if (right <= left || top <= bottom) return nullptr;

    int x0 = static_cast<int>(left);
    int width = static_cast<int>(right) - x0;
    int height = static_cast<int>(top - bottom);
    int firstRow = pixelsHigh_ - static_cast<int>(top);
    double s = scale() > 0 ? scale() : 1;
    auto result = std::make_shared<Bitmap>(width, height, Size{width / s, height / s});
    for (int row = 0; row < height; ++row) {
        const std::uint32_t* from = pixels_.data() + static_cast<std::size_t>(firstRow + row) * pixelsWide_ + x0;
        std::memcpy(result->pixels_.data() + static_cast<std::size_t>(row) * width, from, width * sizeof(std::uint32_t));
    }
    return result;
}

std::string Bitmap::pngData() const {
    return desktop::ui::encodePng(pixels_.data(), pixelsWide_, pixelsHigh_, static_cast<std::size_t>(pixelsWide_));
}

}  // namespace platform::ui
