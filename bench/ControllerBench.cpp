// Costs of the controller's periodic work on the simulated Mac: one entry
// refresh beside the bare copy of the running list it starts from, a minute
// and more of timer ticks on an unchanged desktop, and native-entry scans.

#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>

#include "bench/support/CpuTime.h"
#include "controller/EntryRefresh.h"
#include "controller/NativeController.h"
#include "desktop/Desktop.h"
#include "platform/Accessibility.h"
#include "platform/Application.h"
#include "platform/Workspace.h"
#include "strip/StripView.h"

namespace {

using nlohmann::json;

json benchApp(int index, bool running) {
    auto id = "com.bench.app" + std::to_string(index);
    return {{"bundleId", id}, {"name", "App" + std::to_string(index)},
            {"path", "/Applications/App" + std::to_string(index) + ".app"}, {"pid", 1000 + index},
            {"activationPolicy", "regular"}, {"running", running}};
}

json benchScene(json apps, bool trusted) {
    return {{"screens", json::array({{{"frame", {0, 0, 1512, 982}}, {"visibleFrame", {0, 0, 1512, 945}}}})},
            {"statusBarThickness", 24},
            {"accessibilityTrusted", trusted},
            {"apps", std::move(apps)}};
}

json pinnedList(int count) {
    auto pinned = json::array();
    for (int i = 0; i < count; ++i)
        pinned.push_back({{"id", "com.bench.app" + std::to_string(i * 4)}, {"path", "/Applications/App" + std::to_string(i * 4) + ".app"},
                          {"policy", i % 3 == 0 ? "running" : "auto"}});
    return pinned;
}

std::shared_ptr<orvane::NativeController> startController(const json& configuration) {
    auto controller = orvane::NativeController::create();
    controller->start();
    controller->configure(configuration);
    return controller;
}

// 50 pinned entries against 200 running applications.
void BM_RefreshFiftyPinnedTwoHundredRunning(benchmark::State& state) {
    auto apps = json::array();
    for (int i = 0; i < 200; ++i) apps.push_back(benchApp(i, true));
    desktop::reset(benchScene(apps, false), desktop::Clock::manual);
    auto controller = startController({{"pinned", pinnedList(50)}});
    for (auto _ : state) controller->refresh(false);
    state.counters["entries"] = double(controller->state().entries.size());
    controller->stop();
}
BENCHMARK(BM_RefreshFiftyPinnedTwoHundredRunning);

// The floor an unchanged refresh is measured against: computing the same
// entries from the same running list and inputs, with nothing applied.
void BM_ComputeEntriesAlone(benchmark::State& state) {
    auto apps = json::array();
    for (int i = 0; i < 200; ++i) apps.push_back(benchApp(i, true));
    desktop::reset(benchScene(apps, false), desktop::Clock::manual);
    auto controller = startController({{"pinned", pinnedList(50)}});
    orvane::EntryInputs inputs{controller->state().pinned, controller->state().showRunning, controller->state().autoDedup,
                               controller->state().detections, platform::application().processIdentifier(),
                               [] { return platform::accessibility().isTrusted(false); }};
    for (auto _ : state)
        benchmark::DoNotOptimize(orvane::computeEntries(platform::workspace().runningApplications(), inputs));
    controller->stop();
}
BENCHMARK(BM_ComputeEntriesAlone);

// An unchanged refresh at 10, 100 and 1,000 running apps, a quarter of them
// pinned, against computing the same entries alone, round by round in the
// same loop so that both sides see the same load.
void UnchangedRefreshAgainstComputing(benchmark::State& state) {
    const int running = static_cast<int>(state.range(0));
    auto apps = json::array();
    for (int i = 0; i < running; ++i) apps.push_back(benchApp(i, true));
    desktop::reset(benchScene(apps, false), desktop::Clock::manual);
    auto controller = startController({{"pinned", pinnedList(running / 4)}});
    orvane::EntryInputs inputs{controller->state().pinned, controller->state().showRunning, controller->state().autoDedup,
                               controller->state().detections, platform::application().processIdentifier(),
                               [] { return platform::accessibility().isTrusted(false); }};
    double refreshing = 0, computing = 0;
    for (auto _ : state) {
        const double t0 = orvane::bench::threadSeconds();
        controller->refresh(false);
        const double t1 = orvane::bench::threadSeconds();
        benchmark::DoNotOptimize(orvane::computeEntries(platform::workspace().runningApplications(), inputs));
        refreshing += t1 - t0;
        computing += orvane::bench::threadSeconds() - t1;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["entries"] = double(controller->state().entries.size());
    state.counters["refresh_us"] = refreshing / n * 1e6;
    state.counters["floor_us"] = computing / n * 1e6;
    state.counters["ratioToFloor"] = computing > 0 ? refreshing / computing : 0;
    controller->stop();
}
BENCHMARK(UnchangedRefreshAgainstComputing)->Arg(10)->Arg(100)->Arg(1000);

// What the refresh once was compared with: asking for the running list.
void BM_CopyRunningList(benchmark::State& state) {
    auto apps = json::array();
    for (int i = 0; i < 200; ++i) apps.push_back(benchApp(i, true));
    desktop::reset(benchScene(apps, false), desktop::Clock::manual);
    for (auto _ : state) benchmark::DoNotOptimize(platform::workspace().runningApplications());
}
BENCHMARK(BM_CopyRunningList);

// 1,000 five-second ticks of a desktop where nothing changes: the strip's
// buttons must survive every one of them.
void BM_ThousandTicksUnchangedDesktop(benchmark::State& state) {
    auto apps = json::array();
    for (int i = 0; i < 30; ++i) apps.push_back(benchApp(i, i % 2 == 0));
    desktop::reset(benchScene(apps, false), desktop::Clock::manual);
    auto controller = startController({{"pinned", pinnedList(6)}});
    std::int64_t rebuilds = 0;
    for (auto _ : state) {
        for (int tick = 0; tick < 1000; ++tick) {
            auto before = controller->state().strip->subviews();
            desktop::advance(orvane::NativeController::timerInterval);
            if (controller->state().strip->subviews() != before) ++rebuilds;
        }
    }
    state.counters["rebuilds"] = double(rebuilds);
    controller->stop();
}
BENCHMARK(BM_ThousandTicksUnchangedDesktop)->Unit(benchmark::kMillisecond);

void runScan(orvane::NativeController& controller) {
    controller.scanExtras();
    desktop::runUntil([&] { return !controller.state().scanning; }, 30);
}

// 100 candidate applications with three extras each.
void BM_ScanHundredAppsThreeExtras(benchmark::State& state) {
    auto apps = json::array();
    for (int i = 0; i < 100; ++i) {
        auto app = benchApp(i, true);
        auto extras = json::array();
        for (int e = 0; e < 3; ++e)
            extras.push_back({{"ownerPid", 1000 + i}, {"hidden", e < 2}, {"frame", {800 + 24 * e, 6, 22, 24}}, {"pressable", true}});
        app["extras"] = extras;
        apps.push_back(app);
    }
    desktop::reset(benchScene(apps, true), desktop::Clock::manual);
    auto controller = startController(json::object());
    runScan(*controller);
    for (auto _ : state) runScan(*controller);
    state.counters["present"] = double(controller->state().detections.size());
    controller->stop();
}
BENCHMARK(BM_ScanHundredAppsThreeExtras)->UseRealTime()->Unit(benchmark::kMillisecond);

// 20 applications of which 5 never answer: each of those costs one 0.12 s
// messaging timeout, so 0.6 s is the floor.
void BM_ScanTwentyAppsFiveUnresponsive(benchmark::State& state) {
    auto apps = json::array();
    for (int i = 0; i < 20; ++i) {
        auto app = benchApp(i, true);
        app["extras"] = json::array({{{"ownerPid", 1000 + i}, {"frame", {800, 6, 22, 24}}, {"pressable", true}}});
        if (i % 4 == 0) app["unresponsive"] = true;
        apps.push_back(app);
    }
    desktop::reset(benchScene(apps, true), desktop::Clock::manual);
    auto controller = startController(json::object());
    runScan(*controller);
    for (auto _ : state) runScan(*controller);
    state.counters["floorSeconds"] = 5 * 0.12;
    controller->stop();
}
BENCHMARK(BM_ScanTwentyAppsFiveUnresponsive)->UseRealTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
