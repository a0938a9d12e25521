#include "desktop/scripting/OwnedCopies.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace desktop {

namespace {

namespace fs = std::filesystem;

// The owner's process id in a name prefix<pid>-XXXXXX; 0 when there is none.
pid_t ownerOf(const std::string& name, const std::string& prefix) {
    if (name.compare(0, prefix.size(), prefix) != 0) return 0;
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + name.size();
    long pid = 0;
    auto [end, error] = std::from_chars(first, last, pid);
    if (error != std::errc() || end == first || end == last || *end != '-' || pid <= 0) return 0;
    return static_cast<pid_t>(pid);
}

bool running(pid_t pid) { return kill(pid, 0) == 0 || errno != ESRCH; }

}  // namespace

std::string makeOwnedFolder(const std::string& parent, const std::string& prefix) {
    std::error_code error;
    fs::create_directories(parent, error);
    std::string pattern = parent + "/" + prefix + std::to_string(getpid()) + "-XXXXXX";
    if (!mkdtemp(pattern.data())) return {};
    return pattern;
}

void reclaimAbandonedFolders(const std::string& parent, const std::string& prefix) {
    std::error_code error;
    for (fs::directory_iterator it(parent, error), end; !error && it != end; it.increment(error)) {
        const pid_t owner = ownerOf(it->path().filename().string(), prefix);
        if (owner == 0 || owner == getpid() || running(owner)) continue;
        std::error_code ignored;
        if (it->is_directory(ignored) && !it->is_symlink(ignored)) fs::remove_all(it->path(), ignored);
    }
}

}  // namespace desktop
