// Stands in for the Mac's file system root: a folder of this machine that is
// "/" for the logic. Paths and the links on the disk are resolved inside it,
// so neither ".." nor a link to an absolute path ever leaves it.
#include "desktop/files/Disk.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "desktop/files/DiskLog.h"

namespace desktop {

namespace {

constexpr int maxLinksInPath = 32;

std::mutex rootMutex;
std::optional<std::string> currentRoot;
// The chosen root again, under a lock of its own, for the file layer to ask
// while a default disk is being made with rootMutex held.
std::mutex chosenMutex;
std::string chosenRoot;

void publishRoot(const std::string& root) {
    std::lock_guard lock(chosenMutex);
    chosenRoot = root;
}
// The demo disk copy this process made, removed when it is replaced or the process ends.
std::string demoCopy;

DefaultDiskMaker& defaultDiskMaker() {
    static DefaultDiskMaker maker;
    return maker;
}

// An empty folder of its own under the temporary folder: the disk when no
// layer above has said what a fresh default disk holds.
std::string emptyTemporaryDisk() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/orvane-disk-XXXXXX";
    return mkdtemp(pattern.data()) ? pattern : std::string();
}

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
    const auto& maker = defaultDiskMaker();
    demoCopy = maker ? maker() : emptyTemporaryDisk();
    return demoCopy;
}

std::string currentRootLocked() {
    if (!currentRoot) {
        currentRoot = chooseRoot(nlohmann::json::object());
        publishRoot(*currentRoot);
    }
    return *currentRoot;
}

// What a real path is for the walk: nothing there, a link (with its target),
// or anything else.
struct Component {
    bool present = false;
    std::optional<std::string> linkTarget;
};

Component componentAt(const std::string& realPath) {
    struct stat info {};
    if (lstat(realPath.c_str(), &info) != 0) return {};
    if (!S_ISLNK(info.st_mode)) return {true, std::nullopt};
    std::string target(PATH_MAX, '\0');
    ssize_t length = readlink(realPath.c_str(), target.data(), target.size());
    if (length < 0) return {true, std::nullopt};
    target.resize(static_cast<std::size_t>(length));
    return {true, std::move(target)};
}

// Pushes a path's components so that the first comes off the back first.
void pushComponents(std::vector<std::string>& pending, std::string_view path) {
    std::vector<std::string> parts;
    while (!path.empty()) {
        auto slash = path.find('/');
        std::string_view part = path.substr(0, slash);
        path = slash == std::string_view::npos ? std::string_view{} : path.substr(slash + 1);
        if (!part.empty()) parts.emplace_back(part);
    }
    pending.insert(pending.end(), std::make_move_iterator(parts.rbegin()), std::make_move_iterator(parts.rend()));
}

std::string joined(const std::string& root, const std::vector<std::string>& parts) {
    std::string path = root;
    for (const auto& part : parts) {
        path += '/';
        path += part;
    }
    return path;
}

}  // namespace

void resetDisk(const nlohmann::json& scene) {
    {
        std::lock_guard lock(rootMutex);
        currentRoot = chooseRoot(scene);
        publishRoot(*currentRoot);
    }
    clearDiskLog();
}

void setDefaultDiskMaker(DefaultDiskMaker maker) {
    std::lock_guard lock(rootMutex);
    defaultDiskMaker() = std::move(maker);
}

std::string diskRoot() {
    std::lock_guard lock(rootMutex);
    return currentRootLocked();
}

namespace {

// Walks pending (last first) from the folders already walked below the root.
// Below a component that is not there nothing is there either, so the rest
// of the path is taken as written until ".." climbs back above it.
std::string walkInsideDisk(const std::string& root, std::vector<std::string> walked, std::vector<std::string> pending,
                           bool* present = nullptr) {
    constexpr std::size_t allPresent = std::size_t(-1);
    std::size_t missingFrom = allPresent;
    int links = 0;
    std::string real = joined(root, walked);
    while (!pending.empty()) {
        std::string part = std::move(pending.back());
        pending.pop_back();
        if (part == ".") continue;
        if (part == "..") {
            if (!walked.empty()) walked.pop_back();
            if (walked.size() <= missingFrom) missingFrom = allPresent;
            real = joined(root, walked);
            continue;
        }
        if (missingFrom != allPresent) {
            walked.push_back(std::move(part));
            continue;
        }
        const std::size_t folderLength = real.size();
        real += '/';
        real += part;
        Component component = componentAt(real);
        if (!component.linkTarget) {
            if (!component.present) missingFrom = walked.size();
            walked.push_back(std::move(part));
            continue;
        }
        real.resize(folderLength);
        auto& target = component.linkTarget;
        // A Mac gives up after this many links in one path; so do we, with
        // a path that names nothing.
        if (++links > maxLinksInPath) {
            if (present) *present = false;
            return {};
        }
        // A link is resolved inside the disk: an absolute target starts again
        // at the disk's "/", a relative one from the link's folder.
        if (!target->empty() && target->front() == '/') {
            walked.clear();
            real = root;
        }
        pushComponents(pending, *target);
    }
    if (present) *present = missingFrom == allPresent;
    return joined(root, walked);
}

}  // namespace

std::string resolve(const std::string& absolutePath) {
    // Components still to walk, last first, so a link's target is pushed in
    // front of what followed the link.
    std::vector<std::string> pending;
    pushComponents(pending, absolutePath);
    return walkInsideDisk(diskRoot(), {}, std::move(pending));
}

namespace {

std::string walkBelow(const std::string& resolvedFolder, const std::string& relativePath, bool* present) {
    const std::string root = diskRoot();
    if (resolvedFolder.size() < root.size() || resolvedFolder.compare(0, root.size(), root) != 0 ||
        (resolvedFolder.size() > root.size() && resolvedFolder[root.size()] != '/')) {
        if (present) *present = false;
        return {};
    }
    std::vector<std::string> walked, pending;
    pushComponents(walked, std::string_view(resolvedFolder).substr(root.size()));
    std::reverse(walked.begin(), walked.end());
    pushComponents(pending, relativePath);
    return walkInsideDisk(root, std::move(walked), std::move(pending), present);
}

}  // namespace

std::string resolveBelow(const std::string& resolvedFolder, const std::string& relativePath) {
    return walkBelow(resolvedFolder, relativePath, nullptr);
}

std::optional<std::string> resolveBelowIfPresent(const std::string& resolvedFolder, const std::string& relativePath) {
    bool present = false;
    std::string path = walkBelow(resolvedFolder, relativePath, &present);
    if (!present) return std::nullopt;
    return path;
}

std::string chosenDiskRoot() {
    std::lock_guard lock(chosenMutex);
    return chosenRoot;
}

nlohmann::json diskState() {
    nlohmann::json disk = diskLog();
    disk["root"] = diskRoot();
    return {{"disk", disk}};
}

}  // namespace desktop
