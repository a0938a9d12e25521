// Lookups below an open folder of the simulated disk in one call: openat2
// with RESOLVE_NO_SYMLINKS fails on the first link it meets, so a path it
// opens is exactly the file the component-by-component walk would reach,
// and a component it finds missing is one that walk would find missing too.
#include "desktop/files/OpenDiskFolder.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <utility>

#include "desktop/files/Disk.h"
#include "desktop/files/RootedOpen.h"

namespace desktop {

namespace {

// The walk gives "." and ".." their meaning on the disk; the kernel would
// give them its own, so a path holding one is left to the walk.
bool hasDotComponent(std::string_view path) {
    while (!path.empty()) {
        const auto slash = path.find('/');
        const std::string_view part = path.substr(0, slash);
        if (part == "." || part == "..") return true;
        if (slash == std::string_view::npos) break;
        path.remove_prefix(slash + 1);
    }
    return false;
}

}  // namespace

OpenDiskFolder OpenDiskFolder::diskRoot() {
    std::string root = desktop::diskRoot();
    if (root.empty() || !kernelLookupAvailable()) return {};
    const int fd = ::open(root.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return {};
    return {std::move(root), fd};
}

OpenDiskFolder::~OpenDiskFolder() {
    if (fd_ >= 0) ::close(fd_);
}

OpenDiskFolder::OpenDiskFolder(OpenDiskFolder&& other) noexcept
    : real_(std::move(other.real_)), fd_(std::exchange(other.fd_, -1)) {}

OpenDiskFolder& OpenDiskFolder::operator=(OpenDiskFolder&& other) noexcept {
    if (this == &other) return *this;
    if (fd_ >= 0) ::close(fd_);
    real_ = std::move(other.real_);
    fd_ = std::exchange(other.fd_, -1);
    return *this;
}

bool OpenDiskFolder::contains(const std::string& realPath) const {
    return fd_ >= 0 && realPath.size() > real_.size() + 1 && realPath.compare(0, real_.size(), real_) == 0 &&
           realPath[real_.size()] == '/';
}

OpenDiskFolder::Attempt OpenDiskFolder::attempt(const std::string& realPath, int flags) const {
    using Outcome = Attempt::Outcome;
    if (!contains(realPath) || realPath.find('\0') != std::string::npos) return {};
    const char* below = realPath.c_str() + real_.size() + 1;
    if (hasDotComponent(below)) return {};
    const int fd = openWithKernelLookup(fd_, below, flags, 0, RESOLVE_NO_SYMLINKS | RESOLVE_BENEATH);
    if (fd >= 0) return {Outcome::opened, fd};
    // Anything else (a link on the way, a refused lookup, no openat2) is left to the walk.
    return errno == ENOENT || errno == ENOTDIR ? Attempt{Outcome::absent} : Attempt{};
}

OpenDiskFolder::Attempt OpenDiskFolder::openForReading(const std::string& realPath) const {
    return attempt(realPath, O_RDONLY);
}

OpenDiskFolder OpenDiskFolder::folderAt(const std::string& realPath) const {
    if (realPath == real_) {
        if (fd_ < 0) return {};
        const int fd = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
        return fd < 0 ? OpenDiskFolder() : OpenDiskFolder(real_, fd);
    }
    const Attempt folder = attempt(realPath, O_PATH | O_DIRECTORY);
    if (folder.outcome != Attempt::Outcome::opened) return {};
    return {realPath, folder.fd};
}

int OpenDiskFolder::openForListing() const {
    if (fd_ < 0) return -1;
    return ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

}  // namespace desktop
