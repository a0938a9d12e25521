#pragma once

// Application bundles on the simulated disk, as Launch Services finds a
// bundle that nobody registered: a folder named *.app with a Contents/Info.plist.

#include <optional>
#include <string>

namespace desktop {

// Whether the absolute path of the simulated Mac names such a bundle.
bool isApplicationBundleOnDisk(const std::string& path);
// The bundle's CFBundleIdentifier, nothing when it has none or it cannot be read.
std::optional<std::string> diskBundleIdentifier(const std::string& path);

}  // namespace desktop
