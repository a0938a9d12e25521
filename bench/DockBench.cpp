// The Dock preference read and write per call.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "desktop/preferences/PropertyList.h"
#include "dock/DockPreferences.h"
#include "platform/Preferences.h"

namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
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

BENCHMARK(dockReadPerCall)->Unit(benchmark::kMicrosecond);
BENCHMARK(dockWriteWithoutRestart)->Unit(benchmark::kMicrosecond);
