// Whole-file reads and atomic writes on this machine, the safe-save of the
// simulated Mac's file system.
#include "desktop/files/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <filesystem>
#include <system_error>

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

// The name mkostemp gives a temporary of name: "." + name + "." and six
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
void removeLeftoverTemporaries(const std::string& folder, const std::string& name) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (isTemporaryOf(it->path().filename().string(), name) && it->is_regular_file(ignored))
            std::filesystem::remove(it->path(), ignored);
    }
}

}  // namespace

FileRead readFile(const std::string& realPath, std::size_t limit) {
    FileRead result;
    int fd = ::open(realPath.c_str(), O_RDONLY | O_CLOEXEC);
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
    std::error_code error;
    std::filesystem::create_directories(realPath, error);
    return std::filesystem::is_directory(realPath, error);
}

bool writeFileAtomically(const std::string& realPath, const std::string& bytes) {
    return makeDirectories(parentOf(realPath)) && replaceFileAtomically(realPath, bytes);
}

bool replaceFileAtomically(const std::string& realPath, const std::string& bytes) {
    std::string folder = parentOf(realPath);
    std::string name = realPath.substr(realPath.find_last_of('/') + 1);
    std::string temporary = folder + "/." + name + ".XXXXXX";
    // A replaced file keeps its mode; a new one is readable by all.
    struct stat existing {};
    mode_t mode = ::stat(realPath.c_str(), &existing) == 0 && S_ISREG(existing.st_mode) ? existing.st_mode & 07777 : 0644;
    int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool written = writeAll(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || ::rename(temporary.c_str(), realPath.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    removeLeftoverTemporaries(folder, name);
    // Makes the rename itself durable; a folder that cannot be synced loses nothing already written.
    int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return true;
}

bool writeFileInPlace(const std::string& realPath, const std::string& bytes) {
    int fd = ::open(realPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool written = writeAll(fd, bytes);
    return ::close(fd) == 0 && written;
}

}  // namespace desktop
