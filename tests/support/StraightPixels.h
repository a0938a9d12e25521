#pragma once

// The two writers compared pixel for pixel: a PNG decoded to straight RGBA
// bytes exactly as stored (an RGB file gains opaque alpha), and the bytes
// Cairo's own writer gives for a bitmap's words.

#include <string>
#include <vector>

namespace platform::ui {
class Bitmap;
}

namespace orvane::test {

struct StraightPixels {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;  // empty when the file did not decode
    bool operator==(const StraightPixels&) const = default;
};

StraightPixels decodeStraight(const std::string& png);

// What Cairo's cairo_surface_write_to_png_stream writes for the bitmap's words.
std::string cairoPng(const platform::ui::Bitmap& bitmap);

}  // namespace orvane::test
