#pragma once

// The playground's pictures of the simulated screen: which parts changed
// between two screen pictures (in square tiles), and those parts encoded for
// the browser as one binary message.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::ui { class Bitmap; }

namespace host {

// One picture of the whole screen, shared read-only by every client that still
// has to send parts of it.
struct PlayFrame {
    std::shared_ptr<const platform::ui::Bitmap> bitmap;
    std::uint32_t sequence = 0;
    // The last input the main thread had handled when it drew this picture.
    std::uint32_t inputAck = 0;
};

// Which tiles of a screen picture differ from another; a grid of columns × rows.
class TileSet {
public:
    static constexpr int tileSize = 64;  // pixels

    TileSet() = default;
    TileSet(int pixelsWide, int pixelsHigh);
    int columns() const { return columns_; }
    int rows() const { return rows_; }
    int pixelsWide() const { return wide_; }
    int pixelsHigh() const { return high_; }
    bool empty() const;
    bool any() const { return !empty(); }
    void markAll();
    void clear();
    bool at(int column, int row) const { return marks_[static_cast<std::size_t>(row * columns_ + column)]; }
    void mark(int column, int row) { marks_[static_cast<std::size_t>(row * columns_ + column)] = true; }
    // Adds the tiles of other (a grid of the same size; otherwise all of this one).
    void add(const TileSet& other);
    std::size_t count() const;

private:
    int wide_ = 0, high_ = 0, columns_ = 0, rows_ = 0;
    std::vector<bool> marks_;
};

// The tiles where next differs from previous; every tile when there is no
// previous picture or its size differs.
TileSet changedTiles(const platform::ui::Bitmap* previous, const platform::ui::Bitmap& next);

// Copies piece into picture with its top-left pixel at (left, top), y from
// the top, and marks in changed (a grid of picture's size) the tiles whose
// pixels it altered. Whatever of piece falls outside picture is left out.
void pastePart(const platform::ui::Bitmap& piece, int left, int top, platform::ui::Bitmap& picture, TileSet& changed);

// A rectangle of pixels, y from the top.
struct PixelRect {
    int x, y, width, height;
};
// The marked tiles as few rectangles: runs along each row of tiles, joined
// with the same run of the rows below.
std::vector<PixelRect> rectanglesOf(const TileSet& tiles);

// PNG of one rectangle of the picture (opaque RGB, fastest zlib level: the
// loopback link is wide, the encoder's time is the frame's time).
std::string encodePng(const platform::ui::Bitmap& bitmap, PixelRect rect);

// The binary message of one frame, little-endian:
//   u8 1, u8 0, u16 rectangles, u32 sequence, u32 inputAck, u16 width, u16 height (pixels)
//   then per rectangle: u16 x, u16 y, u16 width, u16 height, u32 length, PNG bytes.
std::string frameMessage(const PlayFrame& frame, const TileSet& tiles);

// ORVANE_PLAY_TRACE set: the playground prints each frame's and each part's
// drawing and encoding time on standard error.
bool playTracing();

}  // namespace host
