#pragma once

#include <string>

#include <cairo.h>

namespace orvane::test {

// A PNG file read back for sampling; invalid when the file is missing or
// does not decode.
class PngFile {
public:
    struct Pixel {
        int r, g, b, a;  // 0..255, not premultiplied
    };

    explicit PngFile(const std::string& path);
    ~PngFile();
    PngFile(const PngFile&) = delete;
    PngFile& operator=(const PngFile&) = delete;

    bool valid() const;
    int width() const;
    int height() const;
    // The pixel in column x, row y counted from the top; all -1 outside the picture.
    Pixel pixel(int x, int y) const;

private:
    cairo_surface_t* surface_;
};

}  // namespace orvane::test
