#include "bench/support/RenderToPng.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "bench/support/CpuTime.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/View.h"

namespace orvane::bench {

namespace {

void keepPicture(const std::string& png, const std::string& name) {
    const char* folder = std::getenv("ORVANE_BENCH_PICTURES");
    if (!folder || !*folder) return;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::ofstream(std::filesystem::path(folder) / name, std::ios::binary) << png;
}

}  // namespace

// Small bitmaps are encoded 200 times; large ones until a fifth of a second
// has gone by, and at least five times.
double secondsPerBlankPng(int pixelsWide, int pixelsHigh, platform::Size size, Blank blank) {
    constexpr int mostRounds = 200, fewestRounds = 5;
    constexpr double enoughSeconds = 0.2;
    platform::ui::Bitmap bitmap(pixelsWide, pixelsHigh, size);
    if (blank == Blank::opaque) std::fill(bitmap.pixels().begin(), bitmap.pixels().end(), 0xFFFFFFFFu);
    benchmark::DoNotOptimize(bitmap.pngData());
    const double start = threadSeconds();
    int rounds = 0;
    while (rounds < mostRounds && (rounds < fewestRounds || threadSeconds() - start < enoughSeconds)) {
        benchmark::DoNotOptimize(bitmap.pngData());
        ++rounds;
    }
    return (threadSeconds() - start) / rounds;
}

void renderToPngAgainstBlank(benchmark::State& state, platform::ui::View& view, const std::string& pictureName) {
    const auto bounds = view.bounds();
    auto probe = view.bitmapForCachingDisplay(bounds);
    if (!probe) return state.SkipWithError("the view gives no bitmap");
    const double blank = secondsPerBlankPng(probe->pixelsWide(), probe->pixelsHigh(), probe->size());
    const double opaqueBlank = secondsPerBlankPng(probe->pixelsWide(), probe->pixelsHigh(), probe->size(), Blank::opaque);
    std::string png;
    double drawing = 0, encoding = 0;
    for (auto _ : state) {
        const double start = threadSeconds();
        auto bitmap = view.bitmapForCachingDisplay(bounds);
        view.cacheDisplay(bounds, *bitmap);
        const double drawn = threadSeconds();
        png = bitmap->pngData();
        benchmark::DoNotOptimize(png);
        drawing += drawn - start;
        encoding += threadSeconds() - drawn;
    }
    if (png.empty()) return state.SkipWithError("nothing was encoded");
    keepPicture(png, pictureName);
    const double n = static_cast<double>(state.iterations());
    const double each = (drawing + encoding) / n;
    state.counters["draw_ms"] = drawing / n * 1e3;
    state.counters["encode_ms"] = encoding / n * 1e3;
    state.counters["blank_ms"] = blank * 1e3;
    state.counters["opaque_blank_ms"] = opaqueBlank * 1e3;
    state.counters["ratioToBlankPng"] = blank > 0 ? each / blank : 0;
    state.counters["ratioToOpaqueBlankPng"] = opaqueBlank > 0 ? each / opaqueBlank : 0;
    state.counters["pixels"] = double(probe->pixelsWide()) * probe->pixelsHigh();
}

}  // namespace orvane::bench
