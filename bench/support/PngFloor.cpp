#include "bench/support/PngFloor.h"

#include <benchmark/benchmark.h>

#include <csetjmp>
#include <cstring>
#include <vector>

#include <cairo.h>
#include <png.h>

#include "bench/support/CpuTime.h"
#include "desktop/ui/PngWriter.h"
#include "platform/ui/Bitmap.h"

namespace orvane::bench {
namespace {

struct Rows {
    int width = 0, height = 0, channels = 0;
    std::vector<png_byte> bytes;
    std::vector<png_bytep> pointers;
    png_byte* row(int y) { return bytes.data() + static_cast<std::size_t>(y) * width * channels; }
};

struct Reader {
    const std::string* bytes;
    std::size_t at = 0;
};

void readBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* reader = static_cast<Reader*>(png_get_io_ptr(png));
    if (reader->at + length > reader->bytes->size()) png_error(png, "truncated");
    std::memcpy(data, reader->bytes->data() + reader->at, length);
    reader->at += length;
}

// The rows of an 8-bit RGB or RGBA file as stored; with `asRgba` an RGB file
// gains an opaque alpha byte, so that files of either kind compare.
bool decode(const std::string& file, bool asRgba, Rows& rows) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    Reader reader{&file};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &reader, readBytes);
    png_read_info(png, info);
    if (asRgba && png_get_color_type(png, info) == PNG_COLOR_TYPE_RGB) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    rows.width = static_cast<int>(png_get_image_width(png, info));
    rows.height = static_cast<int>(png_get_image_height(png, info));
    rows.channels = static_cast<int>(png_get_rowbytes(png, info) / rows.width);
    rows.bytes.assign(static_cast<std::size_t>(rows.width) * rows.height * rows.channels, 0);
    rows.pointers.resize(rows.height);
    for (int y = 0; y < rows.height; ++y) rows.pointers[y] = rows.row(y);
    png_read_image(png, rows.pointers.data());
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

std::string floorEncoding(Rows& rows) {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, appendBytes, nullptr);
    png_set_IHDR(png, info, rows.width, rows.height, 8, rows.channels == 3 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, desktop::ui::pngCompressionLevel);
    png_write_info(png, info);
    for (int y = 0; y < rows.height; ++y) png_write_row(png, rows.row(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

cairo_status_t appendToString(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// What every picture was written with before: Cairo's writer over the same words.
std::string cairoEncoding(const platform::ui::Bitmap& bitmap) {
    auto* data = reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(bitmap.pixels().data()));
    cairo_surface_t* surface = cairo_image_surface_create_for_data(data, CAIRO_FORMAT_ARGB32, bitmap.pixelsWide(),
                                                                   bitmap.pixelsHigh(), bitmap.pixelsWide() * 4);
    std::string out;
    if (cairo_surface_write_to_png_stream(surface, appendToString, &out) != CAIRO_STATUS_SUCCESS) out.clear();
    cairo_surface_destroy(surface);
    return out;
}

}  // namespace

PngEncodingFigures measurePngEncoding(const platform::ui::Bitmap& bitmap) {
    PngEncodingFigures figures;
    const std::string written = bitmap.pngData();
    const std::string cairo = cairoEncoding(bitmap);
    Rows stored, writerRgba, cairoRgba;
    if (!decode(written, false, stored) || !decode(written, true, writerRgba) || !decode(cairo, true, cairoRgba))
        return figures;
    figures.samePixelsAsCairo = writerRgba.width == cairoRgba.width && writerRgba.height == cairoRgba.height &&
                                writerRgba.bytes == cairoRgba.bytes;
    figures.writerBytes = written.size();
    figures.cairoBytes = cairo.size();
    figures.floorBytes = floorEncoding(stored).size();

    constexpr int mostRounds = 200, fewestRounds = 5;
    constexpr double enoughSeconds = 0.6;
    int rounds = 0;
    const double start = threadSeconds();
    while (rounds < mostRounds && (rounds < fewestRounds || threadSeconds() - start < enoughSeconds)) {
        double t0 = threadSeconds();
        benchmark::DoNotOptimize(bitmap.pngData());
        double t1 = threadSeconds();
        benchmark::DoNotOptimize(floorEncoding(stored));
        double t2 = threadSeconds();
        benchmark::DoNotOptimize(cairoEncoding(bitmap));
        double t3 = threadSeconds();
        figures.writerSeconds += t1 - t0;
        figures.floorSeconds += t2 - t1;
        figures.cairoSeconds += t3 - t2;
        ++rounds;
    }
    figures.writerSeconds /= rounds;
    figures.floorSeconds /= rounds;
    figures.cairoSeconds /= rounds;
    return figures;
}

void reportPngEncoding(benchmark::State& state, const PngEncodingFigures& figures) {
    if (!figures.samePixelsAsCairo) return state.SkipWithError("the written pixels differ from Cairo's writer's");
    const double floor = figures.floorSeconds;
    state.counters["encode_ms"] = figures.writerSeconds * 1e3;
    state.counters["floor_ms"] = floor * 1e3;
    state.counters["cairo_ms"] = figures.cairoSeconds * 1e3;
    state.counters["ratioToFloor"] = floor > 0 ? figures.writerSeconds / floor : 0;
    state.counters["cairoRatioToFloor"] = floor > 0 ? figures.cairoSeconds / floor : 0;
    state.counters["KB"] = figures.writerBytes / 1024.0;
    state.counters["floorKB"] = figures.floorBytes / 1024.0;
    state.counters["cairoKB"] = figures.cairoBytes / 1024.0;
}

}  // namespace orvane::bench
