// The catalogue's listing of installed applications over a generated tree of
// 2,000 bundles in nested vendor folders, against the least any listing of
// the same folders must do: walk them without entering a bundle, and read
// and parse each bundle's Contents/Info.plist for its identifier and name.
// Both are measured in the same run, in CPU time of this thread.

#include <benchmark/benchmark.h>
#include <dirent.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "bench/support/CpuTime.h"
#include "catalogue/InstalledApps.h"
#include "desktop/Desktop.h"
#include "desktop/Disk.h"
#include "desktop/FileIO.h"
#include "desktop/PropertyList.h"

namespace {

namespace fs = std::filesystem;
using orvane::bench::threadSeconds;

constexpr int bundleCount = 2000;
constexpr std::size_t infoPlistLimit = 1024 * 1024;

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
    GeneratedDisk(const GeneratedDisk&) = delete;
    GeneratedDisk& operator=(const GeneratedDisk&) = delete;
    std::string root;
};

GeneratedDisk& generatedDisk() {
    static GeneratedDisk disk;
    return disk;
}

// The folders the listing walks, in its order.
std::vector<std::string> applicationFolders() {
    const std::string home = desktop::homeFolder;
    return {"/Applications", "/System/Applications", home + "/Applications", "/System/Library/CoreServices/Applications"};
}

bool endsWithApp(const char* name) {
    const std::size_t length = std::strlen(name);
    return length > 4 && std::strcmp(name + length - 4, ".app") == 0;
}

// What the floor takes from a bundle's Info.plist; true when it has an identifier.
using InfoReader = bool (*)(const std::string& bytes);

// Identifier and name, from one parse with the simulated Mac's reader.
bool identifierAndName(const std::string& bytes) {
    auto list = desktop::parsePropertyList(bytes);
    if (!list || !list->is_object()) return false;
    auto name = list->find("CFBundleName");
    benchmark::DoNotOptimize(name);
    auto id = list->find("CFBundleIdentifier");
    return id != list->end() && id->is_string();
}

// The identifier alone, through the reader's single-key lookup (what the
// listing itself asks for; it takes the name from the folder's name).
bool identifierOnly(const std::string& bytes) { return desktop::topLevelString(bytes, "CFBundleIdentifier").has_value(); }

// Walks one real folder with nothing kept: hidden entries skipped, bundles
// not entered, each bundle's Info.plist read and handed to the reader.
// Returns the bundles with an identifier.
std::size_t readBundlesBelow(const std::string& folder, InfoReader reader) {
    std::size_t found = 0;
    DIR* directory = opendir(folder.c_str());
    if (!directory) return 0;
    while (dirent* item = readdir(directory)) {
        if (item->d_name[0] == '.' || item->d_type != DT_DIR) continue;
        std::string path = folder + "/" + item->d_name;
        if (!endsWithApp(item->d_name)) {
            found += readBundlesBelow(path, reader);
            continue;
        }
        desktop::FileRead info = desktop::readFile(path + "/Contents/Info.plist", infoPlistLimit);
        if (info.status == desktop::FileRead::Status::ok && reader(info.bytes)) ++found;
    }
    closedir(directory);
    return found;
}

std::size_t readAllBundles(InfoReader reader) {
    std::size_t found = 0;
    for (const auto& folder : applicationFolders()) found += readBundlesBelow(desktop::resolve(folder), reader);
    return found;
}

double secondsPerFloor(InfoReader reader) {
    constexpr int rounds = 10;
    readAllBundles(reader);  // the same warm caches as the listing's first call
    const double start = threadSeconds();
    for (int i = 0; i < rounds; ++i) benchmark::DoNotOptimize(readAllBundles(reader));
    return (threadSeconds() - start) / rounds;
}

// The listing the `installed` command returns. The counters relate it to
// the floor (walk, read, parse, identifier and name) and to the stricter
// floor that looks up the identifier alone, both measured in the same run.
void installedAppsOverNestedBundles(benchmark::State& state) {
    desktop::reset({{"disk", generatedDisk().root}});
    const double floor = secondsPerFloor(identifierAndName);
    const double identifierFloor = secondsPerFloor(identifierOnly);
    std::size_t found = 0;
    const double start = threadSeconds();
    for (auto _ : state) {
        auto apps = catalogue::installedApps();
        found = apps.size();
        benchmark::DoNotOptimize(apps);
    }
    const double each = (threadSeconds() - start) / static_cast<double>(state.iterations());
    state.counters["bundles"] = static_cast<double>(found);
    state.counters["floorMs"] = floor * 1e3;
    state.counters["ratioToFloor"] = floor > 0 ? each / floor : 0;
    state.counters["ratioToIdentifierOnly"] = identifierFloor > 0 ? each / identifierFloor : 0;
}
BENCHMARK(installedAppsOverNestedBundles)->Unit(benchmark::kMillisecond);

// The floor alone, for the table: the same folders walked, each Info.plist
// read and parsed, identifier and name taken.
void walkAndReadInfoPlists(benchmark::State& state) {
    desktop::reset({{"disk", generatedDisk().root}});
    std::size_t found = 0;
    for (auto _ : state) found = readAllBundles(identifierAndName);
    state.counters["bundles"] = static_cast<double>(found);
}
BENCHMARK(walkAndReadInfoPlists)->Unit(benchmark::kMillisecond);

// The stricter floor: the same walk, the identifier alone looked up.
void walkAndReadIdentifiers(benchmark::State& state) {
    desktop::reset({{"disk", generatedDisk().root}});
    std::size_t found = 0;
    for (auto _ : state) found = readAllBundles(identifierOnly);
    state.counters["bundles"] = static_cast<double>(found);
}
BENCHMARK(walkAndReadIdentifiers)->Unit(benchmark::kMillisecond);

}  // namespace
