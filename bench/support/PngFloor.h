#pragma once

// The floor of every PNG the library and the simulated Mac write: libpng
// itself, no row filter, at the writer's zlib level, fed the very row bytes
// the writer puts in the file. It shares the compression, which is nearly
// all of the work, and leaves out only what the writer adds to it (finding
// whether the picture is opaque, turning premultiplied words into the file's
// bytes). Cairo's writer, which lets libpng try every filter on each row, is
// measured beside it for the figures from before.

#include <cstddef>
#include <string>

namespace benchmark {
class State;
}

namespace platform::ui {
class Bitmap;
}

namespace orvane::bench {

struct PngEncodingFigures {
    double writerSeconds = 0, floorSeconds = 0, cairoSeconds = 0;  // per encoding
    std::size_t writerBytes = 0, floorBytes = 0, cairoBytes = 0;
    // The writer's file and Cairo's decode to the same straight RGBA bytes.
    bool samePixelsAsCairo = false;
};

// Encodes the bitmap with the three in turn, round after round, so that a
// loaded machine slows all three alike: 200 rounds for a small bitmap, else
// until 0.6 s have gone by, and at least five.
PngEncodingFigures measurePngEncoding(const platform::ui::Bitmap& bitmap);

// Counters: encode_ms, floor_ms, cairo_ms, ratioToFloor, cairoRatioToFloor,
// KB, floorKB, cairoKB; an error when the pixels differ from Cairo's.
void reportPngEncoding(benchmark::State& state, const PngEncodingFigures& figures);

}  // namespace orvane::bench
