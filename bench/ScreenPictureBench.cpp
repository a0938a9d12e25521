// The simulated Mac's screen picture on the demo Mac with Safari's card open,
// whole and in the parts the live playground draws while the pointer moves:
// a band across the top of the screen where the strip and the pointer are,
// and the card's frame. A part should cost in proportion to its area.

#include <benchmark/benchmark.h>

#include "bench/support/DemoController.h"
#include "controller/NativeController.h"
#include "desktop/Desktop.h"
#include "desktop/pictures/ScreenPicture.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace {

using namespace orvane::bench;
using platform::Rect;

// Points below the top of the screen that the strip's band covers.
constexpr double stripBand = 64;

enum class Part { whole, strip, card };

void pictureLoop(benchmark::State& state, Part part) {
    auto controller = startOnDemoMac();
    controller->hover(safariEntry);
    desktop::advance(0.5);
    auto screens = platform::ui::screens();
    auto card = controller->hoverCard().window();
    if (screens.empty() || !card) {
        state.SkipWithError("no screen or no card");
        return finish(controller);
    }
    const platform::ui::Screen& screen = screens.front();
    Rect region = part == Part::card    ? card->frame()
                  : part == Part::strip ? Rect{screen.frame.minX(), screen.frame.maxY() - stripBand, screen.frame.width(), stripBand}
                                        : screen.frame;
    const double scale = screen.backingScale;
    for (auto _ : state) {
        auto picture = part == Part::whole ? desktop::screenPicture() : desktop::screenPicture(region, scale);
        if (!picture) {
            state.SkipWithError("no screen picture");
            break;
        }
        benchmark::DoNotOptimize(picture->pixels().data());
    }
    state.counters["points"] = region.width() * region.height();
    finish(controller);
}

void ScreenPictureWhole(benchmark::State& state) { pictureLoop(state, Part::whole); }
void ScreenPictureStripBand(benchmark::State& state) { pictureLoop(state, Part::strip); }
void ScreenPictureCardFrame(benchmark::State& state) { pictureLoop(state, Part::card); }
BENCHMARK(ScreenPictureWhole)->Unit(benchmark::kMillisecond);
BENCHMARK(ScreenPictureStripBand)->Unit(benchmark::kMillisecond);
BENCHMARK(ScreenPictureCardFrame)->Unit(benchmark::kMillisecond);

}  // namespace
