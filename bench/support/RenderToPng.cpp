#include "bench/support/RenderToPng.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "bench/support/CpuTime.h"
#include "bench/support/PngFloor.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/View.h"

namespace orvane::bench {

void keepPicture(const std::string& png, const std::string& name) {
    const char* folder = std::getenv("ORVANE_BENCH_PICTURES");
    if (!folder || !*folder) return;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::ofstream(std::filesystem::path(folder) / name, std::ios::binary) << png;
}

void renderToPngAgainstFloor(benchmark::State& state, platform::ui::View& view, const std::string& pictureName) {
    const auto bounds = view.bounds();
    std::shared_ptr<platform::ui::Bitmap> bitmap;
    std::string png;
    double drawing = 0;
    for (auto _ : state) {
        const double start = threadSeconds();
        bitmap = view.bitmapForCachingDisplay(bounds);
        if (!bitmap) return state.SkipWithError("the view gives no bitmap");
        view.cacheDisplay(bounds, *bitmap);
        drawing += threadSeconds() - start;
        png = bitmap->pngData();
        benchmark::DoNotOptimize(png);
    }
    if (png.empty()) return state.SkipWithError("nothing was encoded");
    keepPicture(png, pictureName);
    state.counters["draw_ms"] = drawing / static_cast<double>(state.iterations()) * 1e3;
    state.counters["pixels"] = double(bitmap->pixelsWide()) * bitmap->pixelsHigh();
    reportPngEncoding(state, measurePngEncoding(*bitmap));
}

}  // namespace orvane::bench
