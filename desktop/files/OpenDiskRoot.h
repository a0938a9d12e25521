#pragma once

// The simulated disk's root folder held open while a walk runs, standing in
// for the Mac's file system answering lookups below a folder it already has
// in hand. A real path on the disk with no link along it opens in one lookup
// from there; anything else is left to the component-by-component walk of
// Disk.h, which is what keeps links inside the disk.

#include <string>

namespace desktop {

class OpenDiskRoot {
public:
    // How an attempt to open a real path without walking it went.
    struct Attempt {
        enum class Outcome {
            opened,  // fd is the file, open for reading; the caller closes it
            absent,  // no link on the way, and a component is not there or is not a folder
            walk,    // a link, a "." or "..", a refused lookup: resolve the path as Disk.h does
        };
        Outcome outcome = Outcome::walk;
        int fd = -1;
    };

    // Holds the current disk's root open; when it cannot be opened every
    // attempt answers walk.
    OpenDiskRoot();
    ~OpenDiskRoot();
    OpenDiskRoot(const OpenDiskRoot&) = delete;
    OpenDiskRoot& operator=(const OpenDiskRoot&) = delete;

    // Opens a real path below the root for reading when none of its
    // components, the last included, is a link. A path that is not below the
    // root, or holds NUL, answers walk.
    Attempt openForReading(const std::string& realPath) const;

private:
    std::string root_;
    int fd_ = -1;
};

}  // namespace desktop
