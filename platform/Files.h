#pragma once

#include <functional>
#include <optional>
#include <string>

namespace platform {

// The file system as the logic sees it: absolute paths of the machine.
class Files {
public:
    virtual ~Files() = default;

    virtual bool exists(const std::string& path) = 0;
    // Walks the folder recursively like the platform's directory enumerator
    // with "skip package contents" and "skip hidden files": every entry below
    // root is reported (files, folders, packages), packages are not entered,
    // hidden entries are neither reported nor entered, symbolic links are not
    // followed. An unreadable folder contributes nothing.
    virtual void walk(const std::string& root, const std::function<void(const std::string& path)>& visit) = 0;
    // CFBundleIdentifier from the bundle's Contents/Info.plist (binary or XML),
    // nothing when the bundle cannot be opened or has none.
    virtual std::optional<std::string> bundleIdentifier(const std::string& bundlePath) = 0;
    // The name the file manager shows for the path (keeps the extension).
    virtual std::string displayName(const std::string& path) = 0;
    virtual std::string homeDirectory() = 0;
    // Writes bytes to the file in place, replacing what it held; false when it
    // cannot be written. The folder must exist: none is created.
    virtual bool writeFile(const std::string& path, const std::string& bytes) = 0;
    // Writes bytes to a temporary file in the same folder and renames it over
    // the file, so that a reader finds the old contents or the new, never part
    // of them. The folder must exist; false when anything fails, and then the
    // file is as it was and no temporary file is left.
    virtual bool writeFileAtomically(const std::string& path, const std::string& bytes) = 0;
};

Files& files();

}  // namespace platform
