#pragma once

// PNG encoding for every picture the simulated Mac writes, as the system's
// image I/O would encode a bitmap: Cairo-style premultiplied ARGB words in,
// PNG bytes out, with settings chosen by measurement on the library's own
// pictures (docs/benchmarks.md).

#include <cstddef>
#include <cstdint>
#include <string>

namespace desktop::ui {

// Rows are written without a row filter at this zlib level and the default
// strategy. On the strip, card and settings pictures this gives smaller
// files than letting libpng try every filter on each row, in less than half
// the time: the pictures are flat areas and text, where a filter only spreads
// a row's few colours over more byte values.
constexpr int pngCompressionLevel = 6;

// PNG bytes of width × height premultiplied ARGB words, native byte order,
// rows from the top, `rowWords` words apart. A picture whose every pixel is
// opaque is written as RGB, any other as RGBA with its colours divided by
// alpha, rounded to nearest (as Cairo writes them). Empty when the size is
// empty, the rows overlap, or libpng fails.
std::string encodePng(const std::uint32_t* pixels, int width, int height, std::size_t rowWords);

}  // namespace desktop::ui
