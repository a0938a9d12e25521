// `snapshot` through the bridge with a running controller showing 10, 100 and
// 1,000 entries, against its floor: parsing the request and writing the very
// reply the bridge gave, with nlohmann/json. The floor reads and writes the
// same text, so what is left is building the state and what the reply
// writer does beyond a plain dump.

#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>

#include "bench/support/CpuTime.h"
#include "bridge/OrvaneCall.h"
#include "controller/ControllerSlot.h"
#include "controller/NativeController.h"
#include "desktop/Desktop.h"

namespace {

using nlohmann::json;
using orvane::bench::threadSeconds;

constexpr const char* snapshotRequest = R"({"command":"snapshot"})";

json runningApps(int count) {
    auto apps = json::array();
    for (int i = 0; i < count; ++i) {
        const auto n = std::to_string(i);
        apps.push_back({{"bundleId", "com.bench.app" + n}, {"name", "App " + n}, {"path", "/Applications/App " + n + ".app"},
                        {"pid", 1000 + i}, {"activationPolicy", "regular"}, {"running", true}});
    }
    return apps;
}

std::string snapshotReply() {
    char* reply = orvane::orvaneCall(snapshotRequest);
    std::string text = reply ? reply : "";
    orvane::orvaneFree(reply);
    return text;
}

// The floor: the request parsed and the reply written by nlohmann/json.
[[gnu::noinline]] void floorRoundTrip(const json& reply) {
    auto parsed = json::parse(snapshotRequest);
    benchmark::DoNotOptimize(parsed);
    std::string dumped = reply.dump();
    benchmark::DoNotOptimize(dumped);
}

// The controller shows every running app: each is an entry of the strip.
void SnapshotWithController(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    desktop::reset({{"screens", json::array({{{"frame", {0, 0, 1512, 982}}, {"visibleFrame", {0, 0, 1512, 945}}}})},
                    {"statusBarThickness", 24},
                    {"apps", runningApps(count)}},
                   desktop::Clock::manual);
    auto controller = orvane::NativeController::create();
    orvane::controllerSlot() = controller;
    controller->start();
    controller->configure({{"showRunning", true}});
    const std::string replyText = snapshotReply();
    const json reply = json::parse(replyText);

    double call = 0, floor = 0;
    for (auto _ : state) {
        const double t0 = threadSeconds();
        char* text = orvane::orvaneCall(snapshotRequest);
        benchmark::DoNotOptimize(text);
        orvane::orvaneFree(text);
        const double t1 = threadSeconds();
        floorRoundTrip(reply);
        floor += threadSeconds() - t1;
        call += t1 - t0;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["entries"] = static_cast<double>(controller->state().entries.size());
    state.counters["replyKB"] = replyText.size() / 1024.0;
    state.counters["call_us"] = call / n * 1e6;
    state.counters["floor_us"] = floor / n * 1e6;
    state.counters["ratioToFloor"] = floor > 0 ? call / floor : 0;
    controller->stop();
    orvane::controllerSlot().reset();
}
BENCHMARK(SnapshotWithController)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
