// The window server's store of shadow images, standing in for the shadow a
// compositor renders once per window shape and then only moves: a screen
// picture of a part of the screen reuses the blur instead of redoing it for
// every window. An image is keyed by everything that makes its pixels, so a
// reused one is the image that would be made afresh.

#include "desktop/pictures/ShadowImages.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <list>
#include <mutex>
#include <vector>

#include "desktop/ui/CairoCanvas.h"

namespace desktop::chrome {
namespace {

using platform::Size;

constexpr int largestSide = 8192;
// Windows and menus on a screen at once, with room for a few that come and go.
constexpr std::size_t imagesKept = 32;

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

std::shared_ptr<cairo_surface_t> owned(cairo_surface_t* surface) {
    return std::shared_ptr<cairo_surface_t>(surface, cairo_surface_destroy);
}

std::shared_ptr<cairo_surface_t> makeShadowImage(Size shape, double radius, double blur, double opacity) {
    double margin = shadowMargin(blur);
    int width = static_cast<int>(std::ceil((shape.width + 2 * margin) * shadowImageScale));
    int height = static_cast<int>(std::ceil((shape.height + 2 * margin) * shadowImageScale));
    if (width > largestSide || height > largestSide || width < 1 || height < 1) return nullptr;
    auto mask = owned(cairo_image_surface_create(CAIRO_FORMAT_A8, width, height));
    auto tinted = owned(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    if (cairo_surface_status(mask.get()) != CAIRO_STATUS_SUCCESS || cairo_surface_status(tinted.get()) != CAIRO_STATUS_SUCCESS)
        return nullptr;
    cairo_t* m = cairo_create(mask.get());
    cairo_scale(m, shadowImageScale, shadowImageScale);
    desktop::ui::appendRoundedRect(m, {margin, margin, shape.width, shape.height}, radius, radius);
    cairo_set_source_rgba(m, 0, 0, 0, 1);
    cairo_fill(m);
    cairo_destroy(m);
    boxBlur(mask.get(), std::max(1, static_cast<int>(std::lround(blur * shadowImageScale / 3))));
    // Black of the blurred coverage as a plain image: scaling an image source
    // is much cheaper for the compositor than scaling a mask.
    auto strength = static_cast<std::uint32_t>(std::lround(std::clamp(opacity, 0.0, 1.0) * 255));
    const unsigned char* from = cairo_image_surface_get_data(mask.get());
    unsigned char* to = cairo_image_surface_get_data(tinted.get());
    int fromStride = cairo_image_surface_get_stride(mask.get()), toStride = cairo_image_surface_get_stride(tinted.get());
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(to + y * toStride);
        for (int x = 0; x < width; ++x)
            row[x] = ((from[y * fromStride + x] * strength + 127) / 255) << 24;
    }
    cairo_surface_mark_dirty(tinted.get());
    return tinted;
}

struct Kept {
    double width, height, radius, blur, opacity;
    std::shared_ptr<cairo_surface_t> image;
    bool makes(Size shape, double r, double b, double o) const {
        return width == shape.width && height == shape.height && radius == r && blur == b && opacity == o;
    }
};

// Pictures are drawn on the main thread and by capture jobs on the worker.
std::mutex guard;
std::list<Kept> kept;  // most recently used first

}  // namespace

void forgetShadowImages() {
    std::lock_guard<std::mutex> lock(guard);
    kept.clear();
}

std::shared_ptr<cairo_surface_t> shadowImage(Size shape, double radius, double blur, double opacity) {
    if (!(shape.width > 0) || !(shape.height > 0) || !std::isfinite(shape.width) || !std::isfinite(shape.height) ||
        !std::isfinite(radius) || !std::isfinite(blur) || !std::isfinite(opacity))
        return nullptr;
    {
        std::lock_guard<std::mutex> lock(guard);
        for (auto it = kept.begin(); it != kept.end(); ++it)
            if (it->makes(shape, radius, blur, opacity)) {
                kept.splice(kept.begin(), kept, it);
                return kept.front().image;
            }
    }
    auto image = makeShadowImage(shape, radius, blur, opacity);
    if (!image) return nullptr;
    std::lock_guard<std::mutex> lock(guard);
    kept.push_front({shape.width, shape.height, radius, blur, opacity, image});
    if (kept.size() > imagesKept) kept.pop_back();
    return image;
}

}  // namespace desktop::chrome
