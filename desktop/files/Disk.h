#pragma once

// desktop/files/ stands in for the Mac's file system and file manager: a disk
// rooted in a folder of this machine, bundles on it, safe saves, and a log of
// what the system did to it.
//
// The simulated Mac's disk: a folder of this machine stands in for "/", so
// every absolute path the logic uses lands under it and never outside.

#include <functional>
#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace desktop {

// The logged-in user's home folder on the simulated Mac.
inline constexpr const char* homeFolder = "/Users/demo";

// Chooses the root: the scene's "disk", else ORVANE_DISK, else a fresh
// default disk (see setDefaultDiskMaker). Forgets the disk log.
void resetDisk(const nlohmann::json& scene);
// Makes a fresh default disk and answers its folder. The layer that knows the
// demo Mac's contents installs it; without one the default disk is an empty
// temporary folder.
using DefaultDiskMaker = std::function<std::string()>;
void setDefaultDiskMaker(DefaultDiskMaker maker);
std::string diskRoot();
// The root once one is chosen, without choosing one: "" before. Safe to ask
// while the default disk is being made.
std::string chosenDiskRoot();
// The real path under the root for an absolute path of the simulated Mac.
// Links on the disk are followed inside it (an absolute target counts from
// the disk's "/"), ".." climbs the resolved folders and stops at "/", and a
// relative path counts from "/". More than 32 links in one path resolve to
// "", which names nothing.
std::string resolve(const std::string& absolutePath);
// A path below a folder resolve() gave, resolved the same way from there:
// cheaper than resolving the whole path again, and links below the folder
// stay inside the disk too. "" when resolvedFolder is not on the disk.
std::string resolveBelow(const std::string& resolvedFolder, const std::string& relativePath);
// As resolveBelow, or nothing when the path names nothing on the disk: a
// folder or file along it is not there (or its links do not end), so there
// is no need to ask the file system again.
std::optional<std::string> resolveBelowIfPresent(const std::string& resolvedFolder, const std::string& relativePath);
// {"disk": {"root", "toolRuns", "preferenceWrites", "dock": {"reloads", "preferences"}}}:
// the root and what the system did since the last reset.
nlohmann::json diskState();

}  // namespace desktop
