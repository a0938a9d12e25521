// Costs of the hover card on the simulated Mac: one cycle of its capture
// loop (listing, order, capture at up to 1440 pixels, present) beside the
// capture alone; the heap an open card holds, steady and mid-transition;
// the heap after 1,000 open/close cycles against 10; and what still runs,
// lists or captures once no card is open.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <optional>

#include <nlohmann/json.hpp>

#include "bench/support/CpuTime.h"
#include "bench/support/DemoController.h"
#include "controller/NativeController.h"
#include "desktop/Desktop.h"
#include "platform/ScreenCapture.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "preview/PreviewImageView.h"
#include "preview/WindowCaptureJob.h"
#include "preview/WindowPreview.h"
#include "preview/WindowPreviewGeometry.h"

namespace {

using nlohmann::json;
using orvane::bench::finish;
using orvane::bench::safariEntry;
using orvane::bench::startOnDemoMac;
using orvane::bench::threadSeconds;

// Small blocks and the large ones malloc maps on their own (the pictures).
long heapInUse() {
    auto info = mallinfo2();
    return static_cast<long>(info.uordblks + info.hblkhd);
}

std::size_t imageBytes(const std::shared_ptr<platform::ui::Image>& image) {
    return image && image->bitmap() ? image->bitmap()->pixels().size() * sizeof(std::uint32_t) : 0;
}

long desktopCount(const char* key) { return desktop::state()["capture"].value(key, -1L); }

// One cycle of an open card's loop against one capture of the same window at
// the same size, alternating in the same run, in CPU time of the main
// thread. The ratio is the figure the card is held to (at most 1.2).
void BM_CardCycleAgainstCaptureAlone(benchmark::State& state) {
    auto controller = startOnDemoMac();
    controller->hover(safariEntry);
    auto card = controller->hoverCard().preview();
    desktop::advance(0.5);
    if (!card || !card->displayedID()) {
        state.SkipWithError("the card shows no window");
        return finish(controller);
    }
    const std::uint32_t window = *card->displayedID();
    const auto configuration = orvane::WindowCaptureJob::configurationFor(card->windows()[card->index()].frame.size);

    double cycleSeconds = 0, captureSeconds = 0;
    const long before = card->imageFrames();
    for (auto _ : state) {
        const double start = threadSeconds();
        desktop::advance(orvane::WindowCaptureJob::pauseAfterImage);
        const double middle = threadSeconds();
        std::optional<platform::CaptureResult> answer;
        platform::screenCapture().captureWindow(window, configuration, [&](platform::CaptureResult r) { answer = std::move(r); });
        desktop::advance(0);
        const double end = threadSeconds();
        benchmark::DoNotOptimize(answer);
        cycleSeconds += middle - start;
        captureSeconds += end - middle;
    }
    if (card->imageFrames() - before != static_cast<long>(state.iterations())) state.SkipWithError("a cycle took no picture");
    const double n = static_cast<double>(state.iterations());
    state.counters["cycle_ms"] = cycleSeconds / n * 1e3;
    state.counters["capture_ms"] = captureSeconds / n * 1e3;
    state.counters["ratio"] = cycleSeconds / captureSeconds;
    state.counters["pixels"] = double(configuration.width) * configuration.height;
    finish(controller);
}
BENCHMARK(BM_CardCycleAgainstCaptureAlone)->Unit(benchmark::kMillisecond)->Iterations(100);

// The heap an open card holds (small blocks and mapped ones): with one
// picture on display, in the middle of a transition (the outgoing and the
// incoming picture), and once closed; beside it the bytes of the pictures
// the card's two image views hold at those moments.
void BM_MemoryOfAnOpenCard(benchmark::State& state) {
    auto controller = startOnDemoMac();
    // One card first, so that the text and picture caches of the first
    // capture are not counted against the card.
    controller->hover(safariEntry);
    desktop::advance(0.5);
    controller->hoverCard().preview()->select(1);
    desktop::advance(0.5);
    controller->closeCard();
    desktop::advance(6);
    for (auto _ : state) {
        const long base = heapInUse();
        controller->hover(safariEntry);
        auto card = controller->hoverCard().preview();
        desktop::advance(0.5);
        const long steady = heapInUse() - base;
        const std::size_t steadyImages = imageBytes(card->imageView()->image()) + imageBytes(card->outgoingImage()->image());
        card->select(1);
        desktop::advance(0.1);
        const long switching = heapInUse() - base;
        const std::size_t switchingImages = imageBytes(card->imageView()->image()) + imageBytes(card->outgoingImage()->image());
        card.reset();
        controller->closeCard();
        desktop::advance(1);
        state.counters["steady_KiB"] = steady / 1024.0;
        state.counters["steady_images_KiB"] = steadyImages / 1024.0;
        state.counters["switching_KiB"] = switching / 1024.0;
        state.counters["switching_images_KiB"] = switchingImages / 1024.0;
        state.counters["closed_KiB"] = (heapInUse() - base) / 1024.0;
    }
    finish(controller);
}
BENCHMARK(BM_MemoryOfAnOpenCard)->Unit(benchmark::kMillisecond)->Iterations(1);

// The heap after 10 and after 1,000 open/close cycles, each with a picture
// taken; the growth from one to the other; and the listings, captures and
// pending jobs during a minute without a card.
void BM_OpenCloseCycles(benchmark::State& state) {
    auto controller = startOnDemoMac();
    auto cycles = [&](int count) {
        for (int i = 0; i < count; ++i) {
            controller->hover(safariEntry);
            desktop::advance(0.1);
            controller->closeCard();
        }
        desktop::advance(1);
        malloc_trim(0);
        return heapInUse();
    };
    for (auto _ : state) {
        cycles(10);
        const long afterTen = cycles(10);
        const long afterThousand = cycles(990);
        state.counters["after_10_KiB"] = afterTen / 1024.0;
        state.counters["after_1000_KiB"] = afterThousand / 1024.0;
        state.counters["growth_KiB"] = (afterThousand - afterTen) / 1024.0;

        const long listings = desktopCount("listings"), captures = desktopCount("captures");
        const int pending = desktop::state()["pendingJobs"];
        desktop::advance(60);
        state.counters["idle_listings"] = static_cast<double>(desktopCount("listings") - listings);
        state.counters["idle_captures"] = static_cast<double>(desktopCount("captures") - captures);
        state.counters["idle_pending_jobs_beyond_the_timer"] = desktop::state()["pendingJobs"].get<int>() - 1.0;
        benchmark::DoNotOptimize(pending);
    }
    finish(controller);
}
BENCHMARK(BM_OpenCloseCycles)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
