// Application bundles on the simulated disk, standing in for Launch Services
// opening a bundle it meets for the first time: it reads the bundle's
// Info.plist for the identifier.

#include "desktop/files/DiskBundles.h"

#include <sys/stat.h>

#include "desktop/files/Disk.h"
#include "desktop/files/RootedOpen.h"
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
    const std::string bundle = resolve(path);
    struct stat folder {}, info {};
    return statReal(bundle, folder) && S_ISDIR(folder.st_mode) &&
           statReal(resolveBelow(bundle, "Contents/Info.plist"), info) && S_ISREG(info.st_mode);
}

std::optional<std::string> diskBundleIdentifier(const std::string& path) {
    if (!isApplicationBundleOnDisk(path)) return std::nullopt;
    return platform::files().bundleIdentifier(path);
}

}  // namespace desktop
