// Stands in for the Mac's file system root: a folder of this machine that is
// "/" for the logic. Paths are folded lexically, so ".." never climbs out.
#include "desktop/files/Disk.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "desktop/apps/Tools.h"
#include "desktop/files/DiskLog.h"
#include "desktop/preferences/Preferences.h"
#include "desktop/scripting/DemoDisk.h"

namespace desktop {

namespace {

std::mutex rootMutex;
std::optional<std::string> currentRoot;
// The demo disk copy this process made, removed when it is replaced or the process ends.
std::string demoCopy;

void removeDemoCopy() {
    if (demoCopy.empty()) return;
    std::error_code error;
    std::filesystem::remove_all(demoCopy, error);
    demoCopy.clear();
}

std::string absoluteFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    auto absolute = std::filesystem::absolute(folder, error);
    std::string path = error ? folder : absolute.lexically_normal().string();
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// Called with rootMutex held.
std::string chooseRoot(const nlohmann::json& scene) {
    if (scene.is_object()) {
        auto disk = scene.find("disk");
        if (disk != scene.end() && disk->is_string() && !disk->get<std::string>().empty()) {
            removeDemoCopy();
            return absoluteFolder(disk->get<std::string>());
        }
    }
    if (const char* variable = std::getenv("ORVANE_DISK"); variable && *variable) {
        removeDemoCopy();
        return absoluteFolder(variable);
    }
    static bool cleanupRegistered = false;
    if (!cleanupRegistered) {
        std::atexit([] { removeDemoCopy(); });
        cleanupRegistered = true;
    }
    removeDemoCopy();
    demoCopy = freshDemoDisk();
    return demoCopy;
}

std::string currentRootLocked() {
    if (!currentRoot) currentRoot = chooseRoot(nlohmann::json::object());
    return *currentRoot;
}

}  // namespace

void resetDisk(const nlohmann::json& scene) {
    {
        std::lock_guard lock(rootMutex);
        currentRoot = chooseRoot(scene);
    }
    clearDiskLog();
    resetPreferenceDomains(scene);
    resetTools(scene);
}

std::string diskRoot() {
    std::lock_guard lock(rootMutex);
    return currentRootLocked();
}

std::string resolve(const std::string& absolutePath) {
    std::vector<std::string_view> parts;
    std::string_view rest = absolutePath;
    while (!rest.empty()) {
        auto slash = rest.find('/');
        std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash + 1);
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string path = diskRoot();
    for (auto part : parts) {
        path += '/';
        path += part;
    }
    return path;
}

nlohmann::json diskState() {
    nlohmann::json disk = diskLog();
    disk["root"] = diskRoot();
    return {{"disk", disk}};
}

}  // namespace desktop
