// The catalogue's listing of installed applications over a generated tree of
// 2,000 bundles in nested vendor folders, against the least any listing of
// the same folders must do: walk them without entering a bundle, and read
// and parse each bundle's Contents/Info.plist for its identifier and name.

#include <benchmark/benchmark.h>
#include <dirent.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "bench/support/CpuTime.h"
#include "catalogue/InstalledApps.h"
#include "desktop/Desktop.h"
#include "desktop/files/Disk.h"
#include "desktop/files/FileIO.h"
#include "desktop/propertylist/PropertyList.h"

namespace {

namespace fs = std::filesystem;
using orvane::bench::threadSeconds;

constexpr std::size_t infoPlistLimit = 1024 * 1024;

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// A disk with bundles spread over vendor folders and subfolders, each with
// an Info.plist and a little content that a walk must not enter.
class GeneratedDisk {
public:
    explicit GeneratedDisk(int bundleCount) {
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

// One disk per size, made when first asked for and kept for the run.
GeneratedDisk& generatedDisk(int bundleCount) {
    static std::map<int, std::unique_ptr<GeneratedDisk>> disks;
    auto& disk = disks[bundleCount];
    if (!disk) disk = std::make_unique<GeneratedDisk>(bundleCount);
    return *disk;
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

// The listing the `installed` command returns, alternating in the same run
// with its floor (walk, read, parse, identifier and name) and with the
// stricter floor that looks up the identifier alone, each timed on its own
// in processor time of this thread, so that drift of the machine's caches
// moves all three alike. The benchmark's own time is the sum of the three.
void installedAppsOverNestedBundles(benchmark::State& state) {
    desktop::reset({{"disk", generatedDisk(static_cast<int>(state.range(0))).root}});
    readAllBundles(identifierAndName);  // the same warm caches for every side
    double listing = 0, floor = 0, identifierFloor = 0;
    std::size_t found = 0, floorFound = 0;
    for (auto _ : state) {
        const double start = threadSeconds();
        {
            // Released before the clock stops, as the bridge releases it.
            auto apps = catalogue::installedApps();
            found = apps.size();
            benchmark::DoNotOptimize(apps);
        }
        const double listed = threadSeconds();
        floorFound = readAllBundles(identifierAndName);
        const double walked = threadSeconds();
        benchmark::DoNotOptimize(readAllBundles(identifierOnly));
        identifierFloor += threadSeconds() - walked;
        floor += walked - listed;
        listing += listed - start;
    }
    const double n = static_cast<double>(state.iterations());
    if (found != floorFound) state.SkipWithError("the listing and its floor found different bundles");
    state.counters["bundles"] = static_cast<double>(found);
    state.counters["listing_ms"] = listing / n * 1e3;
    state.counters["floor_ms"] = floor / n * 1e3;
    state.counters["identifier_floor_ms"] = identifierFloor / n * 1e3;
    state.counters["ratioToFloor"] = floor > 0 ? listing / floor : 0;
    state.counters["ratioToIdentifierOnly"] = identifierFloor > 0 ? listing / identifierFloor : 0;
}
BENCHMARK(installedAppsOverNestedBundles)->Arg(500)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
