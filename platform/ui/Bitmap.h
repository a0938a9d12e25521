#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Geometry.h"

namespace platform::ui {

// What a new bitmap's pixels hold: transparent black, or whatever the memory
// held, for a caller that writes every pixel before anything reads one (a
// picture filled edge to edge need not be cleared first).
enum class BitmapPixels { transparent, unset };

// Leaves the elements of a vector as they come, so that a pixel buffer that
// is about to be overwritten is not cleared first; an explicit value still
// fills.
template <typename T>
struct UnsetAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UnsetAllocator<U>;
    };
    UnsetAllocator() = default;
    template <typename U>
    UnsetAllocator(const UnsetAllocator<U>&) noexcept {}
    template <typename U>
    void construct(U* at) noexcept {
        ::new (static_cast<void*>(at)) U;
    }
    template <typename U, typename... Args>
    void construct(U* at, Args&&... args) {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
};

// An offscreen bitmap: premultiplied ARGB pixels (one 32-bit word each, rows
// from the top) with the point size they represent.
class Bitmap {
public:
    using Pixels = std::vector<std::uint32_t, UnsetAllocator<std::uint32_t>>;

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
