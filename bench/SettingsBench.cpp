// Benchmarks of the settings window: one character typed into the search of
// a catalogue of 500, 2,000 and 10,000 apps (filter, rebuild and layout)
// against its floor, searching the same names already folded (as the model
// holds them from the moment the list arrives), and an update that changes
// nothing.

#include <benchmark/benchmark.h>

#include <string>

#include <nlohmann/json.hpp>

#include "bench/support/CpuTime.h"
#include "desktop/Desktop.h"
#include "platform/ui/Declarative.h"
#include "settings/AppSearch.h"
#include "settings/SettingsController.h"
#include "settings/SettingsModel.h"

namespace {

using nlohmann::json;
using orvane::bench::threadSeconds;

// Names of a believable catalogue: words in several scripts and numbers.
json catalogue(int catalogueSize) {
    const char* words[] = {"Safari", "Mail", "Notes", "Xcode", "Music", "Books", "Maps", "Photos", "Pages",
                           "Keynote", "Numbers", "Terminal", "微信", "钉钉", "网易云音乐", "Café", "Übersicht"};
    json apps = json::array();
    for (int i = 0; i < catalogueSize; ++i) {
        std::string name = std::string(words[i % std::size(words)]) + " " + std::to_string(i);
        apps.push_back({{"id", "com.bench." + std::to_string(i)}, {"name", name},
                        {"path", "/Applications/" + name + ".app"}, {"policy", "auto"}});
    }
    return apps;
}

json payload(int catalogueSize) {
    json pinned = json::array();
    for (int i = 0; i < 12; ++i)
        pinned.push_back({{"id", "com.bench." + std::to_string(i * 7)}, {"name", "App " + std::to_string(i)},
                          {"path", "/Applications/App.app"}});
    return {{"preferences", {{"pinned", pinned}, {"maxIcons", 5}}},
            {"state", {{"trusted", true}, {"visible", json::array({1, 2})}}},
            {"installed", catalogue(catalogueSize)},
            {"message", "已导入 12 个应用"}};
}

struct BenchWindow {
    std::shared_ptr<orvane::SettingsController> settings = orvane::SettingsController::create();

    explicit BenchWindow(int catalogueSize) {
        desktop::reset(json::object(), desktop::Clock::manual);
        settings->model().update(payload(catalogueSize));
        settings->model().setTab("add");
        settings->show();
        settings->hostingView()->layoutIfNeeded();
    }
};

// One keystroke: the query changes by one character, the page is rebuilt
// from the model (the search runs there) and laid out. The counters split
// the two and relate the whole to searching the folded names alone with the
// same query, measured round by round right after each keystroke, so that a
// loaded machine moves both alike (processor time of this thread on both
// sides; the search alone is left out of the benchmark's own time).
void SettingsSearchKeystroke(benchmark::State& state) {
    BenchWindow bench(static_cast<int>(state.range(0)));
    auto& model = bench.settings->model();
    auto& view = *bench.settings->hostingView();
    const std::string queries[] = {"a", "ap"};

    long long typed = 0;
    std::size_t found = 0;
    double rebuilding = 0, layingOut = 0, searching = 0;
    for (auto _ : state) {
        const std::string& query = queries[++typed % 2];
        const double t0 = threadSeconds();
        model.setQuery(query);
        const double t1 = threadSeconds();
        view.layoutIfNeeded();
        const double t2 = threadSeconds();
        rebuilding += t1 - t0;
        layingOut += t2 - t1;
        state.PauseTiming();
        const double t3 = threadSeconds();
        found += orvane::AppSearch(query).matching(*model.installed()).size();
        searching += threadSeconds() - t3;
        state.ResumeTiming();
    }
    benchmark::DoNotOptimize(found);
    const double filtering = searching / static_cast<double>(state.iterations());
    const double n = static_cast<double>(state.iterations());
    const double each = (rebuilding + layingOut) / n;
    state.counters["rebuildUs"] = rebuilding / n * 1e6;
    state.counters["layoutUs"] = layingOut / n * 1e6;
    state.counters["filterOnlyUs"] = filtering * 1e6;
    state.counters["ratioToFilter"] = filtering > 0 ? each / filtering : 0;
    state.counters["rowsLaidOut"] = static_cast<double>(view.listRowsLaidOut());
    state.counters["rowsBuilt"] = static_cast<double>(view.listRowsBuilt());
}
BENCHMARK(SettingsSearchKeystroke)->Arg(500)->Arg(2000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The host sends the same settings again: compared, nothing rebuilt.
void SettingsUnchangedUpdate(benchmark::State& state) {
    BenchWindow bench(static_cast<int>(state.range(0)));
    const json same = payload(static_cast<int>(state.range(0)));
    const auto rebuilds = bench.settings->rebuildCount();
    const auto layouts = bench.settings->hostingView()->layoutCount();
    for (auto _ : state) bench.settings->model().update(same);
    if (bench.settings->rebuildCount() != rebuilds || bench.settings->hostingView()->layoutCount() != layouts)
        state.SkipWithError("an unchanged update rebuilt the window");
    state.counters["rebuilds"] = static_cast<double>(bench.settings->rebuildCount() - rebuilds);
}
BENCHMARK(SettingsUnchangedUpdate)->Arg(2000)->Unit(benchmark::kMicrosecond);

}  // namespace
