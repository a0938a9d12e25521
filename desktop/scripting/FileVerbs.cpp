#include "desktop/scripting/FileVerbs.h"

#include <nlohmann/json.hpp>

#include "desktop/files/Disk.h"
#include "desktop/files/FileIO.h"
#include "desktop/scripting/VerbLine.h"

namespace desktop {
namespace {

using nlohmann::json;

// The largest file pull copies off the disk: far more than any picture or list it holds.
constexpr std::size_t largestPulledFile = std::size_t(1) << 30;

json mkdirVerb(const std::string& line) {
    const std::string path = restAfter(line, "mkdir");
    if (path.empty() || path.front() != '/') return verbFailed("mkdir needs an absolute path");
    if (!makeDirectories(resolve(path)))
        return verbFailed("cannot make the folder " + path);
    return {{"ok", true}, {"path", path}};
}

// Copies PATH of the simulated disk to DEST on this machine.
json pullVerb(const std::vector<std::string>& words, const std::string& line) {
    if (words.size() < 3 || words[1].front() != '/')
        return verbFailed("pull needs an absolute path on the simulated disk and a destination");
    const std::string& path = words[1];
    const std::string destination = trimmedRest(line, line.find(path, line.find("pull") + 4) + path.size());
    const FileRead file = readFile(resolve(path), largestPulledFile);
    if (file.status != FileRead::Status::ok) return verbFailed("no such file: " + path);
    if (!writeFileInPlace(destination, file.bytes)) return verbFailed("cannot write " + destination);
    return {{"ok", true}, {"path", destination}};
}

}  // namespace

std::optional<json> fileVerb(const std::vector<std::string>& words, const std::string& line) {
    if (words.empty()) return std::nullopt;
    if (words[0] == "mkdir") return mkdirVerb(line);
    if (words[0] == "pull") return pullVerb(words, line);
    return std::nullopt;
}

}  // namespace desktop
