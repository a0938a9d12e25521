// The Dock preference read and write per call.
#include <benchmark/benchmark.h>
#include <plist/plist.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "desktop/propertylist/PropertyList.h"
#include "dock/DockPreferences.h"
#include "platform/Preferences.h"

namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// A Dock preference file of the given number of application tiles.
std::string dockFileBytes(int tileCount) {
    nlohmann::json tiles = nlohmann::json::array();
    for (int i = 0; i < tileCount; ++i) {
        std::string name = "App" + std::to_string(i);
        tiles.push_back({{"tile-type", "file-tile"},
                         {"tile-data", {{"file-label", name}, {"file-data", {{"_CFURLString", "file:///Applications/" + name + ".app/"}}}}}});
    }
    return *desktop::binaryPropertyList({{"autohide", false}, {"tilesize", 48}, {"persistent-apps", tiles}});
}

class DockDisk {
public:
    explicit DockDisk(int tileCount = 30) {
        std::string pattern = (fs::temp_directory_path() / "orvane-bench-dock-XXXXXX").string();
        root = mkdtemp(pattern.data()) ? pattern : std::string();
        bytes = dockFileBytes(tileCount);
        writeFile(fs::path(root) / "Users/demo/Library/Preferences/com.apple.dock.plist", bytes);
        desktop::reset({{"disk", root}, {"apps", {{{"bundleId", "com.apple.dock"}, {"name", "Dock"}, {"path", "/System/Library/CoreServices/Dock.app"}}}}});
    }
    ~DockDisk() {
        std::error_code error;
        fs::remove_all(root, error);
    }
    std::string root;
    std::string bytes;
};

// What dockWrite does before the restart, once an iteration, on the Dock
// file a DockDisk put in place: two values, hidden and shown by turns, and a
// synchronise.
void writeBothKeysEachIteration(benchmark::State& state) {
    auto domain = platform::preferences(dock::dockDomainName);
    bool hidden = false;
    for (auto _ : state) {
        hidden = !hidden;
        domain->setValue(dock::autohideKey, nlohmann::json(hidden));
        domain->setValue(dock::autohideDelayKey, nlohmann::json(hidden ? dock::hiddenAutohideDelay : 0.5));
        if (!domain->synchronize()) state.SkipWithError("synchronize failed");
    }
}

void dockReadPerCall(benchmark::State& state) {
    DockDisk disk;
    for (auto _ : state) benchmark::DoNotOptimize(dock::dockRead());
}

void dockWriteWithoutRestart(benchmark::State& state) {
    DockDisk disk;
    writeBothKeysEachIteration(state);
}

// dockRead of a file of state.range(0) tiles, against its floor below.
void dockReadOfManyTiles(benchmark::State& state) {
    DockDisk disk(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(dock::dockRead());
}

// The floor: libplist parsing the same bytes into its own nodes, which every
// read of the file has to do at least.
void libplistParseOfManyTiles(benchmark::State& state) {
    std::string bytes = dockFileBytes(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        plist_t root = nullptr;
        plist_from_bin(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &root);
        if (!root) state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(root);
        plist_free(root);
    }
}

// The import's read of the same file: the whole tile list converted to JSON,
// every array and dictionary of it walked once.
void persistentAppsReadOfManyTiles(benchmark::State& state) {
    DockDisk disk(static_cast<int>(state.range(0)));
    auto domain = platform::preferences(dock::dockDomainName);
    for (auto _ : state) {
        domain->synchronize();
        auto tiles = domain->copyValue("persistent-apps");
        if (!tiles || tiles->size() != static_cast<std::size_t>(state.range(0))) state.SkipWithError("tiles not read");
        benchmark::DoNotOptimize(tiles);
    }
}

// dockWrite without the restart over a file of state.range(0) tiles, which
// every key of must be read, checked and written back.
void dockWriteOfManyTiles(benchmark::State& state) {
    DockDisk disk(static_cast<int>(state.range(0)));
    writeBothKeysEachIteration(state);
}

}  // namespace

BENCHMARK(dockReadOfManyTiles)->Arg(1000)->Arg(10000)->Arg(60000)->Unit(benchmark::kMillisecond);
BENCHMARK(libplistParseOfManyTiles)->Arg(1000)->Arg(10000)->Arg(60000)->Unit(benchmark::kMillisecond);
BENCHMARK(persistentAppsReadOfManyTiles)->Arg(1000)->Arg(10000)->Arg(60000)->Unit(benchmark::kMillisecond);
BENCHMARK(dockWriteOfManyTiles)->Arg(1000)->Arg(10000)->Arg(60000)->Unit(benchmark::kMillisecond);
BENCHMARK(dockReadPerCall)->Unit(benchmark::kMicrosecond);
BENCHMARK(dockWriteWithoutRestart)->Unit(benchmark::kMicrosecond);
