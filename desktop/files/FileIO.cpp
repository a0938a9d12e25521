// Whole-file reads and atomic writes on this machine, the safe-save of the
// simulated Mac's file system.
#include "desktop/files/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>

#include <cctype>
#include <cerrno>
#include <random>

#include "desktop/files/RootedOpen.h"

namespace desktop {

namespace {

std::string parentOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The name createTemporary gives a temporary of name: "." + name + "." and six
// letters or digits.
bool isTemporaryOf(const std::string& candidate, const std::string& name) {
    constexpr std::size_t suffix = 6;
    if (candidate.size() != name.size() + 2 + suffix || candidate[0] != '.' ||
        candidate.compare(1, name.size(), name) != 0 || candidate[name.size() + 1] != '.')
        return false;
    for (std::size_t i = candidate.size() - suffix; i < candidate.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(candidate[i]))) return false;
    return true;
}

// Temporaries of earlier saves that were killed before their rename.
void removeLeftoverTemporaries(int folder, const std::string& name) {
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) return;
    DIR* directory = ::fdopendir(listing);
    if (!directory) {
        ::close(listing);
        return;
    }
    while (dirent* entry = ::readdir(directory)) {
        struct stat info {};
        if (isTemporaryOf(entry->d_name, name) && ::fstatat(folder, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode))
            ::unlinkat(folder, entry->d_name, 0);
    }
    ::closedir(directory);
}

// A new file "." + name + "." and six letters or digits in the folder, open
// for writing; its name in temporary.
int createTemporary(int folder, const std::string& name, std::string& temporary) {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::minstd_rand random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = "." + name + ".";
        for (int i = 0; i < 6; ++i) temporary += letters[random() % (sizeof letters - 1)];
        const int fd = ::openat(folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

FileRead readFile(const std::string& realPath, std::size_t limit) {
    FileRead result;
    int fd = openReal(realPath, O_RDONLY);
    if (fd < 0) {
        result.status = errno == ENOENT ? FileRead::Status::missing : FileRead::Status::failed;
        return result;
    }
    return readOpenFile(fd, limit);
}

FileRead readOpenFile(int fd, std::size_t limit) {
    FileRead result;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || static_cast<std::size_t>(info.st_size) > limit) {
        ::close(fd);
        return result;
    }
    result.bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < result.bytes.size()) {
        ssize_t n = ::read(fd, result.bytes.data() + done, result.bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    // A file that changed size while it was read counts as what was read.
    result.bytes.resize(done);
    result.status = FileRead::Status::ok;
    return result;
}

bool makeDirectories(const std::string& realPath) {
    struct stat info {};
    if (statReal(realPath, info)) return S_ISDIR(info.st_mode);
    const std::string parent = parentOf(realPath);
    if (parent == realPath || !makeDirectories(parent)) return false;
    const int folder = openReal(parent, O_PATH | O_DIRECTORY);
    if (folder < 0) return false;
    const std::string name = realPath.substr(realPath.find_last_of('/') + 1);
    const bool made = ::mkdirat(folder, name.c_str(), 0755) == 0 || errno == EEXIST;
    ::close(folder);
    return made && statReal(realPath, info) && S_ISDIR(info.st_mode);
}

bool writeFileAtomically(const std::string& realPath, const std::string& bytes) {
    return makeDirectories(parentOf(realPath)) && replaceFileAtomically(realPath, bytes);
}

bool replaceFileAtomically(const std::string& realPath, const std::string& bytes) {
    const std::string name = realPath.substr(realPath.find_last_of('/') + 1);
    const int folder = openReal(parentOf(realPath), O_RDONLY | O_DIRECTORY);
    if (folder < 0 || name.empty()) {
        if (folder >= 0) ::close(folder);
        return false;
    }
    // A replaced file keeps its mode; a new one is readable by all.
    struct stat existing {};
    const mode_t mode = ::fstatat(folder, name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(existing.st_mode)
                            ? existing.st_mode & 07777
                            : 0644;
    std::string temporary;
    const int fd = createTemporary(folder, name, temporary);
    if (fd < 0) {
        ::close(folder);
        return false;
    }
    bool written = writeAll(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || ::renameat(folder, temporary.c_str(), folder, name.c_str()) != 0) {
        ::unlinkat(folder, temporary.c_str(), 0);
        ::close(folder);
        return false;
    }
    removeLeftoverTemporaries(folder, name);
    // Makes the rename itself durable; a folder that cannot be synced loses nothing already written.
    ::fsync(folder);
    ::close(folder);
    return true;
}

bool writeFileInPlace(const std::string& realPath, const std::string& bytes) {
    int fd = openReal(realPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    bool written = writeAll(fd, bytes);
    return ::close(fd) == 0 && written;
}

}  // namespace desktop
