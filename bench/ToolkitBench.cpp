// Benchmarks of the declarative toolkit: a keystroke in a catalogue of 2,000
// applications (filter the names, rebuild the page, lay it out) against the
// filtering alone, and drawing the laid-out page, which touches only the rows
// in view.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "bench/support/CpuTime.h"
#include "desktop/Desktop.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Declarative.h"

namespace {

using orvane::bench::threadSeconds;

namespace d = platform::ui::declarative;

constexpr int appCount = 2000;
const char* const queries[] = {"a", "ap", "b", "ca", "", "e", "mu", "zz"};

std::vector<std::string> appNames() {
    const char* const stems[] = {"Safari", "Mail", "Notes", "Music", "Calendar", "Photos", "Xcode", "Pages", "Numbers", "Keynote"};
    std::vector<std::string> names;
    for (int i = 0; i < appCount; ++i) names.push_back(std::string(stems[i % 10]) + " " + std::to_string(i));
    return names;
}

std::string lowered(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::shared_ptr<std::vector<int>> filter(const std::vector<std::string>& names, const std::string& query) {
    auto matches = std::make_shared<std::vector<int>>();
    std::string q = lowered(query);
    for (int i = 0; i < static_cast<int>(names.size()); ++i)
        if (q.empty() || lowered(names[i]).find(q) != std::string::npos) matches->push_back(i);
    return matches;
}

d::Node page(const std::vector<std::string>& names, std::shared_ptr<std::vector<int>> matches, const std::string& query) {
    std::size_t count = matches->size();
    d::Node search = d::hstack({d::symbol("magnifyingglass"), d::textField("搜索本机应用", query, [](const std::string&) {})}).padded(10);
    d::Node rows = d::lazyList(count, [&names, matches](std::size_t i) {
        const std::string& name = names[static_cast<std::size_t>((*matches)[i])];
        return d::hstack({d::fileIcon("/Applications/" + name + ".app").framed(32, 32),
                          d::vstack({d::text(name), d::text("/Applications/" + name + ".app").font(d::textSize::caption)}, 4,
                                    d::Alignment::leading),
                          d::spacer(), d::button("固定", [] {})},
                         10);
    });
    return d::vstack({std::move(search), std::move(rows)}, 0);
}

double secondsPerFilter(const std::vector<std::string>& names) {
    constexpr int rounds = 400;
    double start = threadSeconds();
    for (int i = 0; i < rounds; ++i) benchmark::DoNotOptimize(filter(names, queries[i % 8]));
    return (threadSeconds() - start) / rounds;
}

// One keystroke: filter, rebuild the tree, lay it out. The counter relates
// it to the filtering alone, measured in the same run in processor time.
void ToolkitCatalogueKeystroke(benchmark::State& state) {
    desktop::reset(nlohmann::json::object(), desktop::Clock::manual);
    auto names = appNames();
    auto host = platform::ui::HostingView::create({0, 0, 790, 668});
    double filtering = secondsPerFilter(names);
    std::size_t k = 0, mostRows = 0;
    double start = threadSeconds();
    for (auto _ : state) {
        std::string query = queries[k++ % 8];
        host->setRoot(page(names, filter(names, query), query));
        host->layoutIfNeeded();
        mostRows = std::max(mostRows, host->listRowsLaidOut());
    }
    double each = (threadSeconds() - start) / static_cast<double>(state.iterations());
    state.counters["ratioToFiltering"] = filtering > 0 ? each / filtering : 0;
    state.counters["mostRowsLaidOut"] = static_cast<double>(mostRows);
}
BENCHMARK(ToolkitCatalogueKeystroke)->Unit(benchmark::kMicrosecond);

// Drawing the page at scale 2: only the rows in view are drawn.
void ToolkitCatalogueDraw(benchmark::State& state) {
    desktop::reset(nlohmann::json::object(), desktop::Clock::manual);
    auto names = appNames();
    auto host = platform::ui::HostingView::create({0, 0, 790, 668});
    host->setRoot(page(names, filter(names, ""), ""));
    auto bitmap = host->bitmapForCachingDisplay(host->bounds());
    for (auto _ : state) host->cacheDisplay(host->bounds(), *bitmap);
    state.counters["rowsDrawn"] = static_cast<double>(host->listRowsDrawn());
}
BENCHMARK(ToolkitCatalogueDraw)->Unit(benchmark::kMillisecond);

}  // namespace
