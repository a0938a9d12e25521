// The bridge's round trip beside a baseline that only parses the request and
// writes the same reply with nlohmann/json: the bridge's own overhead.
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>

#include "bridge/OrvaneCall.h"
#include "desktop/Desktop.h"

namespace {

void roundTrip(benchmark::State& state, const char* request) {
    desktop::reset(nlohmann::json::object(), desktop::Clock::manual);
    for (auto _ : state) {
        char* reply = orvane::orvaneCall(request);
        benchmark::DoNotOptimize(reply);
        orvane::orvaneFree(reply);
    }
}

void baseline(benchmark::State& state, const char* request, const char* replyText) {
    const auto reply = nlohmann::json::parse(replyText);
    for (auto _ : state) {
        auto parsed = nlohmann::json::parse(request);
        benchmark::DoNotOptimize(parsed);
        std::string text = reply.dump();
        benchmark::DoNotOptimize(text);
    }
}

constexpr const char* snapshotRequest = R"({"command":"snapshot"})";
constexpr const char* eventsRequest = R"({"command":"events","args":{}})";
constexpr const char* unknownRequest = R"({"command":"nothingLikeThis","args":{"x":1}})";

}  // namespace

BENCHMARK_CAPTURE(roundTrip, snapshot, snapshotRequest);
BENCHMARK_CAPTURE(baseline, snapshot, snapshotRequest, R"({"data":{},"ok":true})");
BENCHMARK_CAPTURE(roundTrip, events, eventsRequest);
BENCHMARK_CAPTURE(baseline, events, eventsRequest, R"({"data":[],"ok":true})");
BENCHMARK_CAPTURE(roundTrip, unknownCommand, unknownRequest);
BENCHMARK_CAPTURE(baseline, unknownCommand, unknownRequest, R"({"error":"未知原生操作","ok":false})");
