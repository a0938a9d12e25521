#include "host/PlayFrames.h"

#include <cstdlib>

#include <png.h>

#include <algorithm>
#include <cstring>

#include "platform/ui/Bitmap.h"

namespace host {

TileSet::TileSet(int pixelsWide, int pixelsHigh)
    : wide_(pixelsWide),
      high_(pixelsHigh),
      columns_((pixelsWide + tileSize - 1) / tileSize),
      rows_((pixelsHigh + tileSize - 1) / tileSize),
      marks_(static_cast<std::size_t>(columns_ * rows_), false) {}

bool TileSet::empty() const { return std::find(marks_.begin(), marks_.end(), true) == marks_.end(); }
void TileSet::markAll() { std::fill(marks_.begin(), marks_.end(), true); }
void TileSet::clear() { std::fill(marks_.begin(), marks_.end(), false); }
std::size_t TileSet::count() const { return static_cast<std::size_t>(std::count(marks_.begin(), marks_.end(), true)); }

void TileSet::add(const TileSet& other) {
    if (other.wide_ != wide_ || other.high_ != high_) {
        *this = TileSet(other.wide_, other.high_);
        markAll();
        return;
    }
    for (std::size_t i = 0; i < marks_.size(); ++i)
        if (other.marks_[i]) marks_[i] = true;
}

TileSet changedTiles(const platform::ui::Bitmap* previous, const platform::ui::Bitmap& next) {
    TileSet tiles(next.pixelsWide(), next.pixelsHigh());
    if (!previous || previous->pixelsWide() != next.pixelsWide() || previous->pixelsHigh() != next.pixelsHigh()) {
        tiles.markAll();
        return tiles;
    }
    const int wide = next.pixelsWide();
    const auto& a = previous->pixels();
    const auto& b = next.pixels();
    for (int row = 0; row < tiles.rows(); ++row) {
        const int top = row * TileSet::tileSize;
        const int bottom = std::min(top + TileSet::tileSize, next.pixelsHigh());
        for (int column = 0; column < tiles.columns(); ++column) {
            const int left = column * TileSet::tileSize;
            const std::size_t bytes = sizeof(std::uint32_t) * static_cast<std::size_t>(std::min(TileSet::tileSize, wide - left));
            for (int y = top; y < bottom; ++y) {
                const std::size_t at = static_cast<std::size_t>(y) * wide + left;
                if (std::memcmp(&a[at], &b[at], bytes) != 0) {
                    tiles.mark(column, row);
                    break;
                }
            }
        }
    }
    return tiles;
}

std::vector<PixelRect> rectanglesOf(const TileSet& tiles) {
    struct Run {
        int first, last, top, bottom;  // tile columns and rows, inclusive
    };
    std::vector<Run> done, open;
    for (int row = 0; row < tiles.rows(); ++row) {
        std::vector<Run> next;
        for (int column = 0; column < tiles.columns();) {
            if (!tiles.at(column, row)) { ++column; continue; }
            int last = column;
            while (last + 1 < tiles.columns() && tiles.at(last + 1, row)) ++last;
            auto above = std::find_if(open.begin(), open.end(), [&](const Run& r) { return r.first == column && r.last == last; });
            if (above != open.end()) {
                Run grown = *above;
                grown.bottom = row;
                open.erase(above);
                next.push_back(grown);
            } else {
                next.push_back({column, last, row, row});
            }
            column = last + 1;
        }
        done.insert(done.end(), open.begin(), open.end());
        open = std::move(next);
    }
    done.insert(done.end(), open.begin(), open.end());
    std::vector<PixelRect> rects;
    for (const Run& r : done) {
        const int x = r.first * TileSet::tileSize, y = r.top * TileSet::tileSize;
        rects.push_back({x, y, std::min((r.last + 1) * TileSet::tileSize, tiles.pixelsWide()) - x,
                         std::min((r.bottom + 1) * TileSet::tileSize, tiles.pixelsHigh()) - y});
    }
    return rects;
}

void pastePart(const platform::ui::Bitmap& piece, int left, int top, platform::ui::Bitmap& picture, TileSet& changed) {
    const int wide = picture.pixelsWide(), high = picture.pixelsHigh();
    const int skipX = std::max(0, -left), skipY = std::max(0, -top);
    const int x0 = std::max(left, 0), y0 = std::max(top, 0);
    const int runWide = std::min(piece.pixelsWide() - skipX, wide - x0);
    const int runHigh = std::min(piece.pixelsHigh() - skipY, high - y0);
    if (runWide <= 0 || runHigh <= 0 || changed.pixelsWide() != wide || changed.pixelsHigh() != high) return;
    auto& target = picture.pixels();
    const auto& source = piece.pixels();
    for (int y = 0; y < runHigh; ++y) {
        const std::uint32_t* from = &source[static_cast<std::size_t>(skipY + y) * piece.pixelsWide() + skipX];
        std::uint32_t* to = &target[static_cast<std::size_t>(y0 + y) * wide + x0];
        const int row = (y0 + y) / TileSet::tileSize;
        // Runs that end on tile boundaries, so each is compared within one tile.
        for (int x = 0; x < runWide;) {
            const int column = (x0 + x) / TileSet::tileSize;
            const int run = std::min((column + 1) * TileSet::tileSize - (x0 + x), runWide - x);
            if (!changed.at(column, row) && std::memcmp(from + x, to + x, sizeof(std::uint32_t) * run) != 0)
                changed.mark(column, row);
            x += run;
        }
        std::memcpy(to, from, sizeof(std::uint32_t) * runWide);
    }
}

namespace {

void appendToString(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void put16(std::string& out, unsigned value) {
    out.push_back(static_cast<char>(value & 0xff));
    out.push_back(static_cast<char>((value >> 8) & 0xff));
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xffff);
    put16(out, value >> 16);
}

}  // namespace

std::string encodePng(const platform::ui::Bitmap& bitmap, PixelRect rect) {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return {};
    png_infop info = png_create_info_struct(png);
    std::vector<png_byte> row(static_cast<std::size_t>(rect.width) * 3);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return {};
    }
    png_set_write_fn(png, &out, appendToString, nullptr);
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_IHDR(png, info, static_cast<png_uint_32>(rect.width), static_cast<png_uint_32>(rect.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    const auto& pixels = bitmap.pixels();
    for (int y = rect.y; y < rect.y + rect.height; ++y) {
        const std::uint32_t* source = &pixels[static_cast<std::size_t>(y) * bitmap.pixelsWide() + rect.x];
        png_bytep target = row.data();
        for (int x = 0; x < rect.width; ++x) {
            // The screen is opaque: premultiplied and straight colour agree.
            const std::uint32_t p = source[x];
            *target++ = static_cast<png_byte>(p >> 16);
            *target++ = static_cast<png_byte>(p >> 8);
            *target++ = static_cast<png_byte>(p);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::string frameMessage(const PlayFrame& frame, const TileSet& tiles) {
    const auto rects = rectanglesOf(tiles);
    std::string out;
    out.push_back(1);
    out.push_back(0);
    put16(out, static_cast<unsigned>(rects.size()));
    put32(out, frame.sequence);
    put32(out, frame.inputAck);
    put16(out, static_cast<unsigned>(frame.bitmap->pixelsWide()));
    put16(out, static_cast<unsigned>(frame.bitmap->pixelsHigh()));
    for (const PixelRect& r : rects) {
        const std::string png = encodePng(*frame.bitmap, r);
        put16(out, static_cast<unsigned>(r.x));
        put16(out, static_cast<unsigned>(r.y));
        put16(out, static_cast<unsigned>(r.width));
        put16(out, static_cast<unsigned>(r.height));
        put32(out, static_cast<std::uint32_t>(png.size()));
        out += png;
    }
    return out;
}

bool playTracing() {
    static const bool on = std::getenv("ORVANE_PLAY_TRACE") != nullptr;
    return on;
}

}  // namespace host
