// Stands in for the system's PNG encoder (image I/O's PNG destination):
// libpng driven directly, one row at a time, so that no second copy of the
// picture is made. The colours written are exactly those Cairo's own writer
// wrote for the same pixels.

#include "desktop/ui/PngWriter.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <csetjmp>
#include <vector>

#include <png.h>

namespace desktop::ui {
namespace {

struct Output {
    std::string bytes;
};

// An exception must not unwind through libpng's C frames: a failed append
// becomes libpng's own error, which jumps back to writeRows.
void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    bool appended = true;
    try {
        static_cast<Output*>(png_get_io_ptr(png))->bytes.append(reinterpret_cast<const char*>(data), length);
    } catch (...) {
        appended = false;
    }
    if (!appended) png_error(png, "out of memory");
}

void flushNothing(png_structp) {}

// libpng reports errors by jumping back to the setjmp below; the default
// handler would also print them.
void failQuietly(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void ignoreWarning(png_structp, png_const_charp) {}

bool everyPixelOpaque(const std::uint32_t* pixels, int width, int height, std::size_t rowWords) {
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = pixels + static_cast<std::size_t>(y) * rowWords;
        std::uint32_t all = 0xFF000000u;
        for (int x = 0; x < width; ++x) all &= row[x];
        if (all != 0xFF000000u) return false;
    }
    return true;
}

// Writes four bytes a pixel, the fourth overwritten by the next pixel: the
// row buffer has one byte to spare. On a little-endian machine the word's
// bytes reversed are B G R A as a value, and shifted down, R G B in memory.
void toRgb(const std::uint32_t* row, int width, png_byte* out) {
    for (int x = 0; x < width; ++x) {
        const std::uint32_t word = row[x];
        if constexpr (std::endian::native == std::endian::little) {
            const std::uint32_t rgb = __builtin_bswap32(word) >> 8;
            std::memcpy(out, &rgb, sizeof rgb);
        } else {
            out[0] = static_cast<png_byte>(word >> 16);
            out[1] = static_cast<png_byte>(word >> 8);
            out[2] = static_cast<png_byte>(word);
        }
        out += 3;
    }
}

// straight[a][c]: the straight colour of premultiplied component c under
// alpha a, (c * 255 + a / 2) / a, rounded to nearest and kept to its low
// byte as Cairo keeps it (a component above its alpha is no premultiplied
// colour, but it is written as Cairo wrote it). 64 KiB built once; a division per component cost a tenth of the encoding
// of a picture with a translucent background.
struct StraightColours {
    std::array<std::array<png_byte, 256>, 256> straight{};
    StraightColours() {
        for (std::uint32_t a = 1; a < 256; ++a)
            for (std::uint32_t c = 0; c < 256; ++c) straight[a][c] = static_cast<png_byte>((c * 255 + a / 2) / a);
    }
};

const StraightColours& straightColours() {
    static const StraightColours table;
    return table;
}

// Premultiplied colours back to straight ones; a clear pixel is all zero.
void toRgba(const std::uint32_t* row, int width, png_byte* out) {
    const auto& straight = straightColours().straight;
    for (int x = 0; x < width; ++x) {
        const std::uint32_t word = row[x];
        const std::uint32_t alpha = word >> 24;
        const auto& column = straight[alpha];
        out[0] = column[(word >> 16) & 0xFF];
        out[1] = column[(word >> 8) & 0xFF];
        out[2] = column[word & 0xFF];
        out[3] = static_cast<png_byte>(alpha);
        out += 4;
    }
}

// Everything libpng may jump out of lives here, with nothing on this frame
// that needs destroying: the row buffer and the output belong to the caller.
bool writeRows(png_structp png, png_infop info, const std::uint32_t* pixels, int width, int height,
               std::size_t rowWords, bool opaque, png_byte* rowBuffer) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, pngCompressionLevel);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = pixels + static_cast<std::size_t>(y) * rowWords;
        if (opaque)
            toRgb(row, width, rowBuffer);
        else
            toRgba(row, width, rowBuffer);
        png_write_row(png, rowBuffer);
    }
    png_write_end(png, info);
    return true;
}

}  // namespace

std::string encodePng(const std::uint32_t* pixels, int width, int height, std::size_t rowWords) {
    if (!pixels || width <= 0 || height <= 0 || rowWords < static_cast<std::size_t>(width)) return {};
    if (static_cast<png_uint_32>(width) > PNG_USER_WIDTH_MAX || static_cast<png_uint_32>(height) > PNG_USER_HEIGHT_MAX)
        return {};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, failQuietly, ignoreWarning);
    if (!png) return {};
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return {};
    }
    Output output;
    png_set_write_fn(png, &output, appendBytes, flushNothing);
    const bool opaque = everyPixelOpaque(pixels, width, height, rowWords);
    // One byte more than a row of RGB needs, for the four-byte stores of toRgb.
    std::vector<png_byte> rowBuffer(static_cast<std::size_t>(width) * (opaque ? 3 : 4) + 1);
    const bool written = writeRows(png, info, pixels, width, height, rowWords, opaque, rowBuffer.data());
    png_destroy_write_struct(&png, &info);
    if (!written) return {};
    return std::move(output.bytes);
}

}  // namespace desktop::ui
