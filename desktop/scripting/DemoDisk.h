#pragma once

// The demo Mac's disk: application bundles with real Info.plist files and
// drawn icons, a home folder, and the Dock's preferences with a lived-in list
// of applications.

#include <string>

namespace desktop {

// Bumped whenever the demo disk's contents change, so an old template is not reused.
inline constexpr int demoDiskVersion = 2;

// A new copy of the demo disk in a fresh temporary folder (the template is
// written once per version in the user's cache folder). Always returns a
// folder of its own; an empty one when the demo disk cannot be written.
std::string freshDemoDisk();

}  // namespace desktop
