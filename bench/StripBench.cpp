// Benchmarks of the strip: rendering it to a bitmap and a PNG at scale 2,
// the encoding against its floor (bench/support/PngFloor), and the refresh
// path that finds the buttons' signature unchanged.

#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>

#include "bench/support/RenderToPng.h"
#include "desktop/Desktop.h"
#include "strip/StripView.h"
#include "tests/strip/FakeStripOwner.h"

namespace {

using orvane::testing::FakeStripOwner;

struct BenchStrip {
    std::shared_ptr<FakeStripOwner> owner = std::make_shared<FakeStripOwner>();
    std::shared_ptr<orvane::StripView> strip;

    BenchStrip() {
        desktop::reset(nlohmann::json::object(), desktop::Clock::manual);
        owner->setEntries({"a", "b", "c", "d", "e", "f", "g"});
        std::uint32_t colours[] = {0xFF1E88E5, 0xFF43A047, 0xFFFDD835, 0xFFE53935, 0xFF8E24AA, 0xFFFB8C00, 0xFF546E7A};
        for (std::size_t i = 0; i < owner->entryList.size(); ++i)
            owner->icons[owner->entryList[i].id] = orvane::testing::solidIcon(colours[i]);
        owner->runningIds["a"] = true;
        owner->runningIds["c"] = false;
        strip = orvane::StripView::create(owner, {0, 0, 40, 24});
        strip->resize();
    }
};

// Draw the whole strip offscreen and encode it.
void StripRenderToPng(benchmark::State& state) {
    BenchStrip bench;
    orvane::bench::renderToPngAgainstFloor(state, *bench.strip, "strip.png");
}
BENCHMARK(StripRenderToPng)->Unit(benchmark::kMicrosecond);

// A refresh that changes nothing the buttons show: one signature built and compared.
void UnchangedSignatureSkipsRebuild(benchmark::State& state) {
    BenchStrip bench;
    auto first = bench.strip->subviews().front();
    for (auto _ : state) bench.strip->rebuildControls();
    if (bench.strip->subviews().front() != first) state.SkipWithError("the buttons were rebuilt");
}
BENCHMARK(UnchangedSignatureSkipsRebuild);

// For comparison: the same call when every call must rebuild the buttons.
void ChangedSignatureRebuilds(benchmark::State& state) {
    BenchStrip bench;
    for (auto _ : state) {
        bench.strip->setControlSignature("");
        bench.strip->rebuildControls();
    }
}
BENCHMARK(ChangedSignatureRebuilds);

}  // namespace
