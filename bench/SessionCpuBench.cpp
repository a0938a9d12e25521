// Processor time of the whole process over stretches of a session on the
// demo Mac and the manual clock, three apps pinned and the other running
// ones shown, each measured as one run: an hour with no
// card (720 ticks of the controller's 5-second timer on a desktop where
// nothing changes) and a minute with Safari's card open, its capture loop
// listing and capturing a window every 0.75 s.

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "bench/support/CpuTime.h"
#include "bench/support/DemoController.h"
#include "controller/NativeController.h"
#include "desktop/Desktop.h"
#include "preview/WindowCaptureJob.h"
#include "preview/WindowPreview.h"
#include "strip/StripView.h"

namespace {

using namespace orvane::bench;

constexpr int ticksInAnHour = 720;
constexpr double aMinute = 60;

long captureCount(const char* key) { return desktop::state()["capture"].value(key, -1L); }

void IdleHourProcessCpu(benchmark::State& state) {
    for (auto _ : state) {
        auto controller = startOnDemoMac(OtherRunningApps::shown);
        // The first tick after start settles what configure left pending.
        desktop::advance(orvane::NativeController::timerInterval);
        const auto buttons = controller->state().strip->subviews();
        const long listings = captureCount("listings"), captures = captureCount("captures");

        const double start = processSeconds();
        for (int tick = 0; tick < ticksInAnHour; ++tick) desktop::advance(orvane::NativeController::timerInterval);
        const double seconds = processSeconds() - start;

        state.counters["process_cpu_ms"] = seconds * 1e3;
        state.counters["per_tick_us"] = seconds / ticksInAnHour * 1e6;
        state.counters["strip_rebuilt"] = controller->state().strip->subviews() != buttons ? 1 : 0;
        state.counters["listings"] = static_cast<double>(captureCount("listings") - listings);
        state.counters["captures"] = static_cast<double>(captureCount("captures") - captures);
        if (controller->hoverCard().window()) state.SkipWithError("a card opened during the idle hour");
        finish(controller);
    }
}
BENCHMARK(IdleHourProcessCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

// The card opens and shows its first picture before the minute starts; the
// clock then moves in steps of the loop's pause after each picture.
void CardMinuteProcessCpu(benchmark::State& state) {
    for (auto _ : state) {
        auto controller = startOnDemoMac(OtherRunningApps::shown);
        controller->hover(safariEntry);
        desktop::advance(0.5);
        auto card = controller->hoverCard().preview();
        if (!card || !card->displayedID() || controller->hoverCard().id() != std::optional<std::string>("com.apple.Safari")) {
            state.SkipWithError("the card shows no window");
            return finish(controller);
        }
        const long long frames = card->imageFrames();
        const long listings = captureCount("listings"), captures = captureCount("captures");
        const int steps = static_cast<int>(std::lround(aMinute / orvane::WindowCaptureJob::pauseAfterImage));

        const double start = processSeconds();
        for (int step = 0; step < steps; ++step) desktop::advance(orvane::WindowCaptureJob::pauseAfterImage);
        const double seconds = processSeconds() - start;

        const auto framesShown = static_cast<double>(card->imageFrames() - frames);
        state.counters["process_cpu_ms"] = seconds * 1e3;
        state.counters["frames"] = framesShown;
        state.counters["per_frame_ms"] = framesShown > 0 ? seconds / framesShown * 1e3 : 0;
        state.counters["listings"] = static_cast<double>(captureCount("listings") - listings);
        state.counters["captures"] = static_cast<double>(captureCount("captures") - captures);
        if (controller->hoverCard().preview() != card) state.SkipWithError("the card closed during the minute");
        card.reset();
        finish(controller);
    }
}
BENCHMARK(CardMinuteProcessCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
