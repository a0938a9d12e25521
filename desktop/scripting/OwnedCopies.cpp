// Owner-named scratch folders, standing in for the per-process temporary
// folders a Mac's system clears when their owner is gone.
#include "desktop/scripting/OwnedCopies.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>
#include <string_view>
#include <system_error>

namespace desktop {

namespace {

namespace fs = std::filesystem;

// When the system started the process, in clock ticks since boot (field 22
// of /proc/<pid>/stat); nothing when there is no such process or no /proc.
std::optional<unsigned long long> startTimeOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::stringstream text;
    text << in.rdbuf();
    const std::string stat = text.str();
    // The command name in parentheses may hold spaces and parentheses of its
    // own; the fields after the last ')' start with the state, field 3.
    const auto close = stat.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    for (int index = 3; index < 22; ++index)
        if (!(fields >> field)) return std::nullopt;
    unsigned long long start = 0;
    if (!(fields >> start)) return std::nullopt;
    return start;
}

struct Owner {
    pid_t pid = 0;
    std::optional<unsigned long long> start;
};

// Reads a decimal number followed by '-' from the front of text.
std::optional<unsigned long long> numberBeforeDash(std::string_view& text) {
    unsigned long long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data() || end == text.data() + text.size() || *end != '-') return std::nullopt;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()) + 1);
    return value;
}

// The owner named by prefix<pid>-<start>-XXXXXX, or by the older
// prefix<pid>-XXXXXX; no pid when the name is neither.
Owner ownerOf(const std::string& name, const std::string& prefix) {
    if (name.compare(0, prefix.size(), prefix) != 0) return {};
    std::string_view rest = std::string_view(name).substr(prefix.size());
    const auto pid = numberBeforeDash(rest);
    if (!pid || *pid == 0 || *pid > static_cast<unsigned long long>(std::numeric_limits<pid_t>::max())) return {};
    return {static_cast<pid_t>(*pid), numberBeforeDash(rest)};
}

bool gone(const Owner& owner) {
    if (owner.start) {
        const auto start = startTimeOf(owner.pid);
        if (start) return *start != *owner.start;
        // Without /proc the start time cannot be compared: only an id no
        // process has marks the owner gone.
        if (fs::exists("/proc/self/stat")) return true;
    }
    return kill(owner.pid, 0) != 0 && errno == ESRCH;
}

}  // namespace

std::string makeOwnedFolder(const std::string& parent, const std::string& prefix) {
    std::error_code error;
    fs::create_directories(parent, error);
    std::string name = prefix + std::to_string(getpid()) + "-";
    if (const auto start = startTimeOf(getpid())) name += std::to_string(*start) + "-";
    std::string pattern = parent + "/" + name + "XXXXXX";
    if (!mkdtemp(pattern.data())) return {};
    return pattern;
}

void reclaimAbandonedFolders(const std::string& parent, const std::string& prefix) {
    std::error_code error;
    for (fs::directory_iterator it(parent, error), end; !error && it != end; it.increment(error)) {
        const Owner owner = ownerOf(it->path().filename().string(), prefix);
        if (owner.pid == 0 || !gone(owner)) continue;
        std::error_code ignored;
        if (it->is_directory(ignored) && !it->is_symlink(ignored)) fs::remove_all(it->path(), ignored);
    }
}

}  // namespace desktop
