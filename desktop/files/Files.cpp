// Stands in for the Mac's file manager and bundle lookup on the simulated
// disk: the directory enumerator with "skip package contents" and "skip
// hidden files", bundle identifiers from Info.plist, display names, and data
// written in place or atomically into folders that must exist.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "desktop/files/Disk.h"
#include "desktop/files/FileIO.h"
#include "desktop/files/OpenDiskFolder.h"
#include "desktop/files/RootedOpen.h"
#include "desktop/propertylist/PropertyList.h"
#include "platform/Files.h"

namespace desktop {

namespace {

constexpr std::size_t maxInfoPlistSize = 1024 * 1024;
// Folders deeper than this in one walk are not held open, so that a deep
// tree cannot use up the process's descriptors; below them paths are
// resolved component by component as outside a walk.
constexpr std::size_t maxOpenFoldersInWalk = 64;

// Folder extensions the Finder shows as a single file.
const std::set<std::string> packageExtensions = {
    "app", "appex", "bundle", "framework", "kext", "mdimporter", "plugin", "prefpane",
    "qlgenerator", "rtfd", "saver", "xpc", "photoslibrary", "xcodeproj", "xcworkspace",
};

std::string lowercaseExtension(const std::string& name) {
    auto dot = name.find_last_of('.');
    if (dot == std::string::npos || dot == 0) return {};
    std::string extension = name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return std::tolower(c); });
    return extension;
}

struct DirectoryCloser {
    void operator()(DIR* directory) const { closedir(directory); }
};

struct Entry {
    std::string name;
    bool descend = false;
    bool link = false;
};

// The entry a walk is visiting, with the real path its listing gave it: the
// visitor asks about that very path (its identifier, its name), and walking
// it again from the disk's "/" would only repeat the walk's own lookups. The
// walk holds the disk's root and the entry's folder open, so that files the
// visitor reads below the entry open in one short lookup when no link is on
// the way.
struct Visit {
    const std::string& path;
    const std::string& real;
    const OpenDiskFolder& folder;
    const OpenDiskFolder& disk;
};
thread_local const Visit* currentVisit = nullptr;

class VisitScope {
public:
    explicit VisitScope(const Visit& visit) : outer_(std::exchange(currentVisit, &visit)) {}
    ~VisitScope() { currentVisit = outer_; }
    VisitScope(const VisitScope&) = delete;
    VisitScope& operator=(const VisitScope&) = delete;

private:
    const Visit* outer_;
};

std::string resolved(const std::string& path) {
    if (currentVisit && path == currentVisit->path) return currentVisit->real;
    return resolve(path);
}

// During a walk, the file at a real path read in one lookup from the disk's
// root, missing when a component is not there; nothing when a link (or
// anything but a plain path) is on the way and the path must be resolved.
std::optional<FileRead> readWithoutResolving(const std::string& realPath) {
    if (!currentVisit) return std::nullopt;
    using Outcome = OpenDiskFolder::Attempt::Outcome;
    const OpenDiskFolder& from = currentVisit->folder.contains(realPath) ? currentVisit->folder : currentVisit->disk;
    const auto attempt = from.openForReading(realPath);
    if (attempt.outcome == Outcome::opened) return readOpenFile(attempt.fd, maxInfoPlistSize);
    if (attempt.outcome == Outcome::absent) return FileRead{FileRead::Status::missing, {}};
    return std::nullopt;
}

// The file at relativePath below a folder resolve() gave, read; missing when
// the path names nothing on the disk. Links on the way are resolved inside the disk.
FileRead readBelow(const std::string& resolvedFolder, const std::string& relativePath) {
    if (auto file = readWithoutResolving(resolvedFolder + "/" + relativePath)) return std::move(*file);
    const auto real = resolveBelowIfPresent(resolvedFolder, relativePath);
    if (!real) return {FileRead::Status::missing, {}};
    return readFile(*real, maxInfoPlistSize);
}

// The visible entries of a folder in name order, read from the folder held
// open when there is one; a folder that cannot be read has none.
std::vector<Entry> listFolder(const std::string& realPath, const OpenDiskFolder& folder) {
    std::vector<Entry> entries;
    std::unique_ptr<DIR, DirectoryCloser> directory;
    if (const int fd = folder.openForListing(); fd >= 0) {
        directory.reset(fdopendir(fd));
        if (!directory) ::close(fd);
    }
    if (!directory) {
        if (const int fd = openReal(realPath, O_RDONLY | O_DIRECTORY); fd >= 0) {
            directory.reset(fdopendir(fd));
            if (!directory) ::close(fd);
        }
    }
    if (!directory) return entries;
    while (dirent* item = readdir(directory.get())) {
        std::string name = item->d_name;
        if (name.empty() || name.front() == '.') continue;
        bool isFolder = item->d_type == DT_DIR;
        bool isLink = item->d_type == DT_LNK;
        if (item->d_type == DT_UNKNOWN) {
            struct stat info {};
            bool known = fstatat(dirfd(directory.get()), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
            isFolder = known && S_ISDIR(info.st_mode);
            isLink = !known || S_ISLNK(info.st_mode);
        }
        entries.push_back({name, isFolder && !packageExtensions.count(lowercaseExtension(name)), isLink});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return entries;
}

std::string trimmedPath(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// The file system takes a path as a C string and would cut it at a NUL, so a
// path holding one names some other file (its prefix): it is no path at all.
bool isPath(const std::string& path) { return path.find('\0') == std::string::npos; }

// A bundle's display name from its strings for the system's language, which
// may be a property list as well as the old text format; only the former is read.
std::optional<std::string> localizedBundleName(const std::string& bundlePath) {
    if (!isPath(bundlePath) || lowercaseExtension(bundlePath.substr(bundlePath.find_last_of('/') + 1)) != "app") return std::nullopt;
    const std::string bundle = resolved(trimmedPath(bundlePath));
    // Resources is resolved on its own, as the folder the strings are looked
    // up in, and only once a lookup of the whole path has met a link.
    std::optional<std::optional<std::string>> resources;
    for (const char* language : {"zh-Hans", "zh_CN"}) {
        const std::string strings = std::string(language) + ".lproj/InfoPlist.strings";
        std::optional<FileRead> file;
        if (!resources) file = readWithoutResolving(bundle + "/Contents/Resources/" + strings);
        if (!file) {
            if (!resources) resources = resolveBelowIfPresent(bundle, "Contents/Resources");
            if (!*resources) return std::nullopt;
            file = readBelow(**resources, strings);
        }
        if (file->status != FileRead::Status::ok) continue;
        auto name = topLevelString(file->bytes, "CFBundleDisplayName");
        if (!name) name = topLevelString(file->bytes, "CFBundleName");
        if (name && !name->empty() && name->find('/') == std::string::npos) return name;
    }
    return std::nullopt;
}

class DiskFiles final : public platform::Files {
public:
    bool exists(const std::string& path) override {
        if (!isPath(path)) return false;
        struct stat info {};
        return statReal(resolve(path), info);
    }

    void walk(const std::string& root, const std::function<void(const std::string& path)>& visit) override {
        struct Frame {
            std::string path;
            std::string real;
            OpenDiskFolder folder;
            std::vector<Entry> entries;
            std::size_t next = 0;
        };
        if (!isPath(root)) return;
        const OpenDiskFolder disk = OpenDiskFolder::diskRoot();
        std::string start = trimmedPath(root);
        std::string startReal = resolve(start);
        OpenDiskFolder startFolder = disk.folderAt(startReal);
        std::vector<Entry> startEntries = listFolder(startReal, startFolder);
        std::vector<Frame> stack;
        stack.push_back({std::move(start), std::move(startReal), std::move(startFolder), std::move(startEntries)});
        // Links are never followed, so the walk cannot loop; it ends when every
        // folder it entered is listed.
        while (!stack.empty()) {
            Frame& frame = stack.back();
            if (frame.next == frame.entries.size()) {
                stack.pop_back();
                continue;
            }
            const Entry& entry = frame.entries[frame.next++];
            std::string path = (frame.path == "/" ? "" : frame.path) + "/" + entry.name;
            // A link is resolved as any path is; anything else is where its folder's listing found it.
            std::string real = entry.link ? resolve(path) : frame.real + "/" + entry.name;
            {
                const Visit visiting{path, real, frame.folder, disk};
                VisitScope scope(visiting);
                visit(path);
            }
            if (entry.descend) {
                OpenDiskFolder folder = stack.size() < maxOpenFoldersInWalk ? frame.folder.folderAt(real) : OpenDiskFolder();
                std::vector<Entry> children = listFolder(real, folder);
                stack.push_back({std::move(path), std::move(real), std::move(folder), std::move(children)});
            }
        }
    }

    std::optional<std::string> bundleIdentifier(const std::string& bundlePath) override {
        if (!isPath(bundlePath)) return std::nullopt;
        std::string bundle = resolved(trimmedPath(bundlePath));
        // An application keeps Info.plist in Contents; a flat bundle at its top.
        // Reading fails at once when the bundle is not a folder.
        for (const char* place : {"Contents/Info.plist", "Info.plist"}) {
            FileRead file = readBelow(bundle, place);
            if (file.status == FileRead::Status::missing) continue;
            if (file.status != FileRead::Status::ok) return std::nullopt;
            auto identifier = topLevelString(file.bytes, "CFBundleIdentifier");
            if (!identifier || identifier->empty()) return std::nullopt;
            return identifier;
        }
        return std::nullopt;
    }

    // The name the Finder shows: a bundle's name in the system's language
    // (Simplified Chinese) when the bundle has one, else the file's own name.
    std::string displayName(const std::string& path) override {
        std::string trimmed = trimmedPath(path);
        auto slash = trimmed.find_last_of('/');
        std::string name = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
        if (name.empty()) return trimmed;
        if (auto localized = localizedBundleName(trimmed)) return *localized + name.substr(name.find_last_of('.'));
        return name;
    }

    std::string homeDirectory() override { return homeFolder; }

    bool writeFile(const std::string& path, const std::string& bytes) override {
        return isPath(path) && writeFileInPlace(resolve(path), bytes);
    }

    bool writeFileAtomically(const std::string& path, const std::string& bytes) override {
        return isPath(path) && replaceFileAtomically(resolve(path), bytes);
    }
};

}  // namespace

}  // namespace desktop

namespace platform {

Files& files() {
    static desktop::DiskFiles disk;
    return disk;
}

}  // namespace platform
