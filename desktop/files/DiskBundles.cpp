// Application bundles on the simulated disk, standing in for Launch Services
// opening a bundle it meets for the first time: it reads the bundle's
// Info.plist for the identifier.

#include "desktop/files/DiskBundles.h"

#include <filesystem>

#include "desktop/files/Disk.h"
#include "platform/Files.h"

namespace desktop {
namespace {

bool endsWithApp(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path.size() > 4 && path.compare(path.size() - 4, 4, ".app") == 0;
}

}  // namespace

bool isApplicationBundleOnDisk(const std::string& path) {
    if (path.empty() || path.front() != '/' || !endsWithApp(path)) return false;
    std::error_code error;
    const std::string bundle = resolve(path);
    return std::filesystem::is_directory(bundle, error) &&
           std::filesystem::is_regular_file(resolveBelow(bundle, "Contents/Info.plist"), error);
}

std::optional<std::string> diskBundleIdentifier(const std::string& path) {
    if (!isApplicationBundleOnDisk(path)) return std::nullopt;
    return platform::files().bundleIdentifier(path);
}

}  // namespace desktop
