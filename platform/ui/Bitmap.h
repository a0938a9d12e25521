#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Geometry.h"
#include "platform/ui/PixelBuffer.h"

namespace platform::ui {

// An offscreen bitmap: premultiplied ARGB pixels (one 32-bit word each, rows
// from the top) with the point size they represent.
class Bitmap {
public:
    using Pixels = PixelBuffer;

    Bitmap(int pixelsWide, int pixelsHigh, Size pointSize, BitmapPixels initial = BitmapPixels::transparent);

    int pixelsWide() const { return pixelsWide_; }
    int pixelsHigh() const { return pixelsHigh_; }
    Size size() const { return size_; }
    double scale() const { return size_.width > 0 ? pixelsWide_ / size_.width : 1; }

    Pixels& pixels() { return pixels_; }
    const Pixels& pixels() const { return pixels_; }
    // Un-premultiplied components 0..255 of the pixel at (x, y), y from the top.
    struct Pixel { int r, g, b, a; };
    Pixel pixel(int x, int y) const;

    // Pixels of the rectangle (in pixels, y from the bottom as in the image's
    // point space), or nothing when it lies outside the bitmap.
    std::shared_ptr<Bitmap> cropped(Rect pixelRect) const;
    // PNG bytes; empty when encoding failed.
    std::string pngData() const;

private:
    int pixelsWide_;
    int pixelsHigh_;
    Size size_;
    Pixels pixels_;
};

}  // namespace platform::ui
