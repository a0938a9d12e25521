// Lookups below the simulated disk's root in one call: openat2 with
// RESOLVE_NO_SYMLINKS fails on the first link it meets, so a path it opens
// is exactly the file the component-by-component walk would reach, and a
// component it finds missing is one that walk would find missing too.
#include "desktop/files/OpenDiskRoot.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string_view>

#include "desktop/files/Disk.h"

namespace desktop {

namespace {

// Cleared once the kernel turns the call down as unknown or forbidden, so
// that later lookups go straight to the walk.
std::atomic<bool> openat2Available{true};

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

OpenDiskRoot::OpenDiskRoot() : root_(diskRoot()) {
    if (root_.empty() || !openat2Available.load(std::memory_order_relaxed)) return;
    fd_ = ::open(root_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

OpenDiskRoot::~OpenDiskRoot() {
    if (fd_ >= 0) ::close(fd_);
}

OpenDiskRoot::Attempt OpenDiskRoot::openForReading(const std::string& realPath) const {
    using Outcome = Attempt::Outcome;
    if (fd_ < 0 || !openat2Available.load(std::memory_order_relaxed)) return {};
    if (realPath.size() <= root_.size() + 1 || realPath.compare(0, root_.size(), root_) != 0 ||
        realPath[root_.size()] != '/' || realPath.find('\0') != std::string::npos)
        return {};
    const char* below = realPath.c_str() + root_.size() + 1;
    if (hasDotComponent(below)) return {};
    open_how how{};
    how.flags = O_RDONLY | O_CLOEXEC;
    how.resolve = RESOLVE_NO_SYMLINKS | RESOLVE_BENEATH;
    const long fd = ::syscall(SYS_openat2, fd_, below, &how, sizeof how);
    if (fd >= 0) return {Outcome::opened, static_cast<int>(fd)};
    switch (errno) {
    case ENOENT:
    case ENOTDIR:
        return {Outcome::absent};
    case ENOSYS:
    case EPERM:
        // EPERM is how a sandbox's filter refuses a call it does not know;
        // a refused open of a real file is EACCES.
        openat2Available.store(false, std::memory_order_relaxed);
        return {};
    default:
        return {};
    }
}

}  // namespace desktop
