// The memory a long session holds: the heap in use and the resident size
// after 10 of each of the library's recurring cycles (timer ticks, card
// open/close, settings show/hide, start/configure/stop) against after 10,000
// ticks and 1,000 of each of the others, all through orvane_call on the
// demo Mac. The growth counters are the figures: zero, or the few bytes of a
// cache that fills once, means nothing piles up per cycle.
//   build/orvane_bench --benchmark_filter=BM_MemoryAfterCycles

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include <nlohmann/json.hpp>

#include "bridge/OrvaneCall.h"
#include "desktop/Desktop.h"

namespace {

using nlohmann::json;

// The timer's period: a tick is five seconds of the manual clock.
constexpr double tickSeconds = 5.0;

json call(const std::string& command, const json& args = json::object()) {
    const std::string request = json{{"command", command}, {"args", args}}.dump();
    char* reply = orvane::orvaneCall(request.c_str());
    json parsed = json::parse(reply ? reply : "{}", nullptr, false);
    orvane::orvaneFree(reply);
    return parsed;
}

// Small blocks and the large ones malloc maps on their own (the pictures).
long heapInUse() {
    auto info = mallinfo2();
    return static_cast<long>(info.uordblks + info.hblkhd);
}

long residentBytes() {
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

const json pinned = json::array({{{"id", "com.apple.finder"}, {"path", "/System/Library/CoreServices/Finder.app"}},
                                 {{"id", "com.apple.Safari"}, {"path", "/Applications/Safari.app"}},
                                 {{"id", "com.apple.Notes"}, {"path", "/System/Applications/Notes.app"}}});

// Runs the main-thread jobs a step left (scan results come back from a worker).
void settle() { desktop::runUntil([] { return false; }, 0.002); }

void startAndConfigure() {
    call("start");
    call("configure", {{"pinned", pinned}, {"showRunning", false}});
    settle();
}

void ticks(int count) {
    for (int i = 0; i < count; ++i) {
        desktop::advance(tickSeconds);
        desktop::pump();
    }
}

long cardsOpened = 0;

void cardCycles(int count) {
    for (int i = 0; i < count; ++i) {
        call("hover", {{"index", i % 3}});
        desktop::advance(0.5);
        if (call("snapshot")["data"].value("card", std::string()) != "") ++cardsOpened;
        call("closeCard");
        desktop::advance(0.5);
        call("events");
    }
}

void settingsCycles(int count) {
    for (int i = 0; i < count; ++i) {
        call("settingsShow");
        desktop::advance(0.1);
        call("settingsHide");
        desktop::advance(0.1);
        call("events");
    }
}

void lifeCycles(int count) {
    for (int i = 0; i < count; ++i) {
        call("stop");
        startAndConfigure();
        call("events");
    }
}

void allCycles(int tickCount, int cycleCount) {
    ticks(tickCount);
    cardCycles(cycleCount);
    settingsCycles(cycleCount);
    lifeCycles(cycleCount);
}

// Each kind of cycle on its own, twice over: what one round of it leaves behind.
void BM_MemoryPerCycleKind(benchmark::State& state) {
    json scene = desktop::defaultScene();
    scene["screenCaptureGranted"] = true;
    desktop::reset(scene, desktop::Clock::manual);
    startAndConfigure();
    for (auto _ : state) {
        allCycles(10, 10);
        auto round = [&](const char* name, auto cycles, int count) {
            long before = heapInUse();
            cycles(count);
            long middle = heapInUse();
            cycles(count);
            state.counters[std::string(name) + "First"] = double(middle - before);
            state.counters[std::string(name) + "Second"] = double(heapInUse() - middle);
        };
        round("ticks", ticks, 10000);
        round("card", cardCycles, 1000);
        round("settings", settingsCycles, 1000);
        round("life", lifeCycles, 1000);
    }
    call("stop");
}

void BM_MemoryAfterCycles(benchmark::State& state) {
    json scene = desktop::defaultScene();
    scene["screenCaptureGranted"] = true;
    desktop::reset(scene, desktop::Clock::manual);
    startAndConfigure();
    long heapAfterTwice = 0, heapAfterFew = 0, heapAfterMany = 0, residentAfterFew = 0, residentAfterMany = 0;
    for (auto _ : state) {
        allCycles(10, 10);
        heapAfterFew = heapInUse();
        residentAfterFew = residentBytes();
        // Brings the totals to 10,000 ticks and 1,000 of each cycle.
        allCycles(10000 - 10, 1000 - 10);
        heapAfterMany = heapInUse();
        residentAfterMany = residentBytes();
        // A second round of the same: growth that goes on is a leak, growth
        // that stops was a cache filling.
        allCycles(10000, 1000);
        heapAfterTwice = heapInUse();
    }
    call("stop");
    if (cardsOpened != 2000) state.SkipWithError("a hover opened no card");
    state.counters["heapAfter10"] = double(heapAfterFew);
    state.counters["heapAfter1000"] = double(heapAfterMany);
    state.counters["heapGrowth"] = double(heapAfterMany - heapAfterFew);
    state.counters["heapGrowthSecondRound"] = double(heapAfterTwice - heapAfterMany);
    state.counters["rssAfter10"] = double(residentAfterFew);
    state.counters["rssAfter1000"] = double(residentAfterMany);
    state.counters["rssGrowth"] = double(residentAfterMany - residentAfterFew);
}

}  // namespace

BENCHMARK(BM_MemoryAfterCycles)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_MemoryPerCycleKind)->Iterations(1)->Unit(benchmark::kSecond);
