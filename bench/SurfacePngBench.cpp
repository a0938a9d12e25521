// The hover card and the settings window rendered to PNG as the capture
// command renders them, and the simulated Mac's picture of the whole screen
// as its screenshot verb writes it; each encoding against its floor
// (bench/support/PngFloor).

#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>

#include "bench/support/CpuTime.h"
#include "bench/support/DemoController.h"
#include "bench/support/PngFloor.h"
#include "bench/support/RenderToPng.h"
#include "catalogue/InstalledApps.h"
#include "controller/NativeController.h"
#include "desktop/Desktop.h"
#include "desktop/pictures/ScreenPicture.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Window.h"
#include "preview/PreviewImageView.h"
#include "preview/WindowPreview.h"
#include "settings/SettingsController.h"
#include "settings/SettingsModel.h"
#include "settings/SettingsTexts.h"

namespace {

using nlohmann::json;
using namespace orvane::bench;

// The card of Safari with the picture of its front window on display.
void CardRenderToPng(benchmark::State& state) {
    auto controller = startOnDemoMac();
    controller->hover(safariEntry);
    desktop::advance(0.5);
    auto card = controller->hoverCard().preview();
    if (!card || !card->displayedID() || !controller->hoverCard().window() || !controller->hoverCard().window()->contentView()) {
        state.SkipWithError("the card shows no window");
        return finish(controller);
    }
    renderToPngAgainstFloor(state, *controller->hoverCard().window()->contentView(), "card.png");

    // The part of the drawing that shrinks the captured picture into the card.
    auto& picture = *card->imageView();
    constexpr int rounds = 5;
    const double start = threadSeconds();
    for (int i = 0; i < rounds; ++i) {
        auto bitmap = picture.bitmapForCachingDisplay(picture.bounds());
        picture.cacheDisplay(picture.bounds(), *bitmap);
        benchmark::DoNotOptimize(bitmap);
    }
    state.counters["picture_draw_ms"] = (threadSeconds() - start) / rounds * 1e3;
    finish(controller);
}
BENCHMARK(CardRenderToPng)->Unit(benchmark::kMillisecond);

// What a host pushes before it shows the window: the pinned apps, its
// preferences, the library's state and the catalogue of the demo Mac.
json settingsPayload(orvane::NativeController& controller) {
    const json pinned = json::array({
        {{"id", "com.apple.finder"}, {"name", "Finder"}, {"path", "/System/Library/CoreServices/Finder.app"}, {"policy", "always"}},
        {{"id", "com.apple.Safari"}, {"name", "Safari"}, {"path", "/Applications/Safari.app"}, {"policy", "auto"}},
        {{"id", "com.apple.Notes"}, {"name", "Notes"}, {"path", "/System/Applications/Notes.app"}, {"policy", "running"}},
        {{"id", "com.apple.mail"}, {"name", "Mail"}, {"path", "/System/Applications/Mail.app"}, {"policy", "auto"}},
        {{"id", "com.apple.Terminal"}, {"name", "Terminal"}, {"path", "/System/Applications/Utilities/Terminal.app"}, {"policy", "auto"}}});
    const json snapshot = controller.snapshot();
    json state = json::object();
    for (const char* key : {"trusted", "screenCapture", "detections", "visible", "hidden", "dockStatus"})
        if (snapshot.contains(key)) state[key] = snapshot[key];
    return {{"preferences", {{"pinned", pinned}, {"maxIcons", 5}, {"showRunning", true}, {"autoDedup", true}}},
            {"state", state},
            {"installed", catalogue::installedApps()},
            {"message", "已导入 Dock 中的 5 个应用。"}};
}

// The settings window on its pinned-apps page, its content view rendered as
// the capture command renders it before the screen capture replaces it.
void SettingsRenderToPng(benchmark::State& state) {
    auto controller = startOnDemoMac();
    auto& settings = controller->settings();
    settings.model().update(settingsPayload(*controller));
    settings.model().setTab(orvane::settingsTexts::tab::apps);
    settings.show();
    desktop::advance(0.5);
    auto window = controller->settingsWindow();
    if (!window || !window->contentView()) {
        state.SkipWithError("no settings window");
        return finish(controller);
    }
    renderToPngAgainstFloor(state, *window->contentView(), "settings.png");
    finish(controller);
}
BENCHMARK(SettingsRenderToPng)->Unit(benchmark::kMillisecond);

// The whole screen of the demo Mac with Safari's card open: the desktop
// picture's gradient, the windows, the menu bar, the Dock and the strip.
void ScreenPictureToPng(benchmark::State& state) {
    auto controller = startOnDemoMac();
    controller->hover(safariEntry);
    desktop::advance(0.5);
    std::shared_ptr<platform::ui::Bitmap> picture;
    for (auto _ : state) {
        picture = desktop::screenPicture();
        if (!picture) {
            state.SkipWithError("no screen picture");
            return finish(controller);
        }
        benchmark::DoNotOptimize(picture->pngData());
    }
    keepPicture(picture->pngData(), "screen.png");
    state.counters["pixels"] = double(picture->pixelsWide()) * picture->pixelsHigh();
    reportPngEncoding(state, measurePngEncoding(*picture));
    finish(controller);
}
BENCHMARK(ScreenPictureToPng)->Unit(benchmark::kMillisecond);

}  // namespace
