// Benchmarks of the simulated Mac's screen capture: one window captured at
// 1440 x 900 pixels through the platform interface, answer included (the
// capture cycle of the hover card is measured against this), and the picture
// of the whole screen of the default scene.

#include <benchmark/benchmark.h>

#include <optional>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "desktop/pictures/ScreenPicture.h"
#include "platform/ScreenCapture.h"
#include "platform/ui/Bitmap.h"

namespace {

// The default scene's Safari window "Apple", 1100 x 760 points.
constexpr std::uint32_t benchWindow = 201;

void resetWithPermission() {
    nlohmann::json scene = desktop::defaultScene();
    scene["screenCaptureGranted"] = true;
    desktop::reset(scene, desktop::Clock::manual);
}

// One captureWindow at 1440 x 900, scaled to fit, until its completion ran.
void BM_CaptureWindowAlone(benchmark::State& state) {
    resetWithPermission();
    platform::CaptureConfiguration configuration;
    configuration.width = 1440;
    configuration.height = 900;
    configuration.scalesToFit = true;
    configuration.showsCursor = false;
    configuration.ignoreShadowsSingleWindow = true;
    for (auto _ : state) {
        std::optional<platform::CaptureResult> answer;
        platform::screenCapture().captureWindow(benchWindow, configuration,
                                                [&](platform::CaptureResult result) { answer = std::move(result); });
        desktop::advance(0);
        if (!answer || !answer->image) {
            state.SkipWithError("the capture failed");
            break;
        }
        benchmark::DoNotOptimize(answer->image->pixels().data());
    }
}
BENCHMARK(BM_CaptureWindowAlone)->Unit(benchmark::kMillisecond);

// The whole first screen of the default scene at backing scale 2.
void BM_ScreenPicture(benchmark::State& state) {
    resetWithPermission();
    for (auto _ : state) {
        auto picture = desktop::screenPicture();
        if (!picture) {
            state.SkipWithError("no screen picture");
            break;
        }
        benchmark::DoNotOptimize(picture->pixels().data());
    }
}
BENCHMARK(BM_ScreenPicture)->Unit(benchmark::kMillisecond);

}  // namespace
