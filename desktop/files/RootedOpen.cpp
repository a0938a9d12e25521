// Opens files of the simulated disk from a descriptor of its root, as the
// Mac's kernel looks paths up inside its own file system: openat2 with
// RESOLVE_IN_ROOT takes an absolute link from the root and stops ".." there.
// Where the kernel lacks openat2 (before Linux 5.6, or a sandbox refuses it)
// the lookup is made here, component by component, on the same terms.
#include "desktop/files/RootedOpen.h"

#include <fcntl.h>
#include <limits.h>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <mutex>
#include <string_view>
#include <utility>
#include <vector>

#include "desktop/files/Disk.h"

namespace desktop {

namespace {

// As many links in one lookup as the simulated Mac follows before ELOOP.
constexpr int maxLinksInLookup = 32;

std::atomic<bool> openat2Available{true};

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

void pushComponents(std::vector<std::string>& pending, std::string_view path) {
    std::vector<std::string> parts;
    while (!path.empty()) {
        const auto slash = path.find('/');
        const std::string_view part = path.substr(0, slash);
        path = slash == std::string_view::npos ? std::string_view{} : path.substr(slash + 1);
        if (!part.empty()) parts.emplace_back(part);
    }
    pending.insert(pending.end(), parts.rbegin(), parts.rend());
}

}  // namespace

int openWithKernelLookup(int folder, const char* below, int flags, mode_t mode, std::uint64_t resolve) {
    if (!kernelLookupAvailable()) {
        errno = ENOSYS;
        return -1;
    }
    open_how how{};
    how.flags = static_cast<unsigned>(flags | O_CLOEXEC);
    how.mode = (flags & (O_CREAT | O_TMPFILE)) ? mode : 0;
    how.resolve = resolve;
    const long fd = ::syscall(SYS_openat2, folder, below, &how, sizeof how);
    if (fd >= 0) return static_cast<int>(fd);
    if (errno == ENOSYS || errno == EPERM) {
        openat2Available.store(false, std::memory_order_relaxed);
        errno = ENOSYS;
    }
    return -1;
}

bool kernelLookupAvailable() { return openat2Available.load(std::memory_order_relaxed); }

// The lookup of below from root by hand: each folder is opened with
// O_NOFOLLOW from the one before, a link is read and its target walked in
// its place (an absolute one from the root), ".." goes back to the folder
// opened before and never above the root, and the last component is opened
// with the caller's flags once it is known not to be a link.
int openInsideByHand(int root, const std::string& below, int flags, mode_t mode) {
    std::vector<std::string> pending;
    pushComponents(pending, below);
    std::vector<Descriptor> folders;  // below the root, the innermost last
    int links = 0;
    auto current = [&] { return folders.empty() ? root : folders.back().get(); };
    if (pending.empty()) return ::openat(root, ".", flags | O_CLOEXEC, mode);
    while (!pending.empty()) {
        std::string part = std::move(pending.back());
        pending.pop_back();
        if (part == ".") {
            if (pending.empty()) return ::openat(current(), ".", flags | O_CLOEXEC, mode);
            continue;
        }
        if (part == "..") {
            if (!folders.empty()) folders.pop_back();
            if (pending.empty()) return ::openat(current(), ".", flags | O_CLOEXEC, mode);
            continue;
        }
        char target[PATH_MAX];
        const ssize_t length = ::readlinkat(current(), part.c_str(), target, sizeof target);
        if (length >= 0) {
            if (++links > maxLinksInLookup) {
                errno = ELOOP;
                return -1;
            }
            const std::string_view link(target, static_cast<std::size_t>(length));
            if (!link.empty() && link.front() == '/') folders.clear();
            pushComponents(pending, link);
            if (pending.empty()) return ::openat(current(), ".", flags | O_CLOEXEC, mode);
            continue;
        }
        if (pending.empty()) return ::openat(current(), part.c_str(), flags | O_NOFOLLOW | O_CLOEXEC, mode);
        const int next = ::openat(current(), part.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0) return -1;
        folders.emplace_back(next);
    }
    return -1;
}

namespace {

int openInRoot(int root, const std::string& below, int flags, mode_t mode) {
    const int fd = openWithKernelLookup(root, below.c_str(), flags, mode, RESOLVE_IN_ROOT | RESOLVE_NO_MAGICLINKS);
    if (fd >= 0 || errno != ENOSYS) return fd;
    return openInsideByHand(root, below, flags, mode);
}

// The part of realPath below root, or nothing when realPath is not below it.
bool belowRoot(const std::string& root, const std::string& realPath, std::string& below) {
    if (root.empty() || realPath.compare(0, root.size(), root) != 0) return false;
    if (realPath.size() == root.size()) {
        below = ".";
        return true;
    }
    if (realPath[root.size()] != '/' && root != "/") return false;
    below = realPath.substr(root.size());
    while (!below.empty() && below.front() == '/') below.erase(0, 1);
    if (below.empty()) below = ".";
    return true;
}

// A descriptor of the disk's root, opened once for each root rather than for
// every file: a listing opens thousands. Callers hold their own reference,
// so a reset that changes the root never closes one in use. A root folder
// removed and made again under the same name is opened again.
std::shared_ptr<const Descriptor> rootDescriptor(const std::string& root, bool reopen = false) {
    static std::mutex lock;
    static std::string openedRoot;
    static std::shared_ptr<const Descriptor> opened;
    std::lock_guard<std::mutex> hold(lock);
    if (!opened || openedRoot != root || reopen) {
        auto fresh = std::make_shared<const Descriptor>(::open(root.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (fresh->get() < 0) return fresh;
        opened = std::move(fresh);
        openedRoot = root;
    }
    return opened;
}

}  // namespace

int openReal(const std::string& realPath, int flags, mode_t mode) {
    if (realPath.find('\0') != std::string::npos) {
        errno = ENOENT;
        return -1;
    }
    const std::string root = chosenDiskRoot();
    std::string below;
    if (!belowRoot(root, realPath, below)) return ::open(realPath.c_str(), flags | O_CLOEXEC, mode);
    auto rootFolder = rootDescriptor(root);
    if (rootFolder->get() < 0) return -1;
    const int fd = openInRoot(rootFolder->get(), below, flags, mode);
    struct stat folder {};
    if (fd >= 0 || ::fstat(rootFolder->get(), &folder) != 0 || folder.st_nlink > 0) return fd;
    rootFolder = rootDescriptor(root, true);
    return rootFolder->get() < 0 ? -1 : openInRoot(rootFolder->get(), below, flags, mode);
}

bool statReal(const std::string& realPath, struct stat& info) {
    Descriptor file(openReal(realPath, O_PATH));
    return file.get() >= 0 && ::fstat(file.get(), &info) == 0;
}

}  // namespace desktop
