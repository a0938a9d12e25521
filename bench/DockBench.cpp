// The catalogue walk over a generated tree of 2,000 nested bundles beside
// `find ROOT -name '*.app' -prune` over the same tree (compare the two
// times: the walk also opens every Info.plist), and the Dock preference
// read and write per call.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "catalogue/InstalledApps.h"
#include "desktop/Desktop.h"
#include "desktop/preferences/PropertyList.h"
#include "dock/DockPreferences.h"
#include "platform/Preferences.h"

namespace {

namespace fs = std::filesystem;

constexpr int bundleCount = 2000;

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// A disk with bundles spread over vendor folders and subfolders, each with
// an Info.plist and a little content that a walk must not enter.
class GeneratedDisk {
public:
    GeneratedDisk() {
        std::string pattern = (fs::temp_directory_path() / "orvane-bench-disk-XXXXXX").string();
        root = mkdtemp(pattern.data()) ? pattern : std::string();
        for (int i = 0; i < bundleCount; ++i) {
            fs::path bundle = fs::path(root) / "Applications" / ("Vendor " + std::to_string(i % 40)) /
                              ("Suite " + std::to_string(i % 7)) / ("App " + std::to_string(i) + ".app");
            nlohmann::json info = {{"CFBundleIdentifier", "com.example.app" + std::to_string(i)}, {"CFBundleName", "App"}};
            writeFile(bundle / "Contents/Info.plist", *desktop::binaryPropertyList(info));
            writeFile(bundle / "Contents/Resources/AppIcon.png", "png");
            writeFile(bundle / "Contents/MacOS/App", "binary");
        }
    }
    ~GeneratedDisk() {
        std::error_code error;
        fs::remove_all(root, error);
    }
    std::string root;
};

GeneratedDisk& generatedDisk() {
    static GeneratedDisk disk;
    return disk;
}

void installedAppsOverNestedBundles(benchmark::State& state) {
    desktop::reset({{"disk", generatedDisk().root}});
    std::size_t found = 0;
    for (auto _ : state) {
        auto apps = catalogue::installedApps();
        found = apps.size();
        benchmark::DoNotOptimize(apps);
    }
    state.counters["bundles"] = static_cast<double>(found);
}

void findPruneOverNestedBundles(benchmark::State& state) {
    std::string command = "find '" + generatedDisk().root + "' -name '*.app' -prune";
    std::size_t found = 0;
    for (auto _ : state) {
        found = 0;
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) {
            state.SkipWithError("find could not be started");
            return;
        }
        char line[4096];
        while (std::fgets(line, sizeof line, pipe)) ++found;
        pclose(pipe);
    }
    state.counters["bundles"] = static_cast<double>(found);
}

class DockDisk {
public:
    DockDisk() {
        std::string pattern = (fs::temp_directory_path() / "orvane-bench-dock-XXXXXX").string();
        root = mkdtemp(pattern.data()) ? pattern : std::string();
        nlohmann::json tiles = nlohmann::json::array();
        for (int i = 0; i < 30; ++i) {
            tiles.push_back({{"tile-type", "file-tile"},
                             {"tile-data", {{"file-label", "App"}, {"file-data", {{"_CFURLString", "file:///Applications/App.app/"}}}}}});
        }
        writeFile(fs::path(root) / "Users/demo/Library/Preferences/com.apple.dock.plist",
                  *desktop::binaryPropertyList({{"autohide", false}, {"tilesize", 48}, {"persistent-apps", tiles}}));
        desktop::reset({{"disk", root}, {"apps", {{{"bundleId", "com.apple.dock"}, {"name", "Dock"}, {"path", "/System/Library/CoreServices/Dock.app"}}}}});
    }
    ~DockDisk() {
        std::error_code error;
        fs::remove_all(root, error);
    }
    std::string root;
};

void dockReadPerCall(benchmark::State& state) {
    DockDisk disk;
    for (auto _ : state) benchmark::DoNotOptimize(dock::dockRead());
}

// What dockWrite does before the restart: two values and a synchronise.
void dockWriteWithoutRestart(benchmark::State& state) {
    DockDisk disk;
    auto domain = platform::preferences(dock::dockDomainName);
    bool hidden = false;
    for (auto _ : state) {
        hidden = !hidden;
        domain->setValue(dock::autohideKey, nlohmann::json(hidden));
        domain->setValue(dock::autohideDelayKey, nlohmann::json(hidden ? dock::hiddenAutohideDelay : 0.5));
        if (!domain->synchronize()) state.SkipWithError("synchronize failed");
    }
}

}  // namespace

BENCHMARK(installedAppsOverNestedBundles)->Unit(benchmark::kMillisecond);
BENCHMARK(findPruneOverNestedBundles)->Unit(benchmark::kMillisecond);
BENCHMARK(dockReadPerCall)->Unit(benchmark::kMicrosecond);
BENCHMARK(dockWriteWithoutRestart)->Unit(benchmark::kMicrosecond);
