#pragma once

// A folder of the simulated disk held open while a walk runs, standing in
// for the Mac's file system answering lookups below a folder it already has
// in hand. A real path below the folder with no link along it opens in one
// lookup from there; anything else is left to the component-by-component
// walk of Disk.h, which is what keeps links inside the disk.

#include <string>

namespace desktop {

class OpenDiskFolder {
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

    // Holds nothing: every attempt answers walk.
    OpenDiskFolder() = default;
    // The current disk's root; holds nothing when it cannot be opened.
    static OpenDiskFolder diskRoot();
    ~OpenDiskFolder();
    OpenDiskFolder(OpenDiskFolder&& other) noexcept;
    OpenDiskFolder& operator=(OpenDiskFolder&& other) noexcept;
    OpenDiskFolder(const OpenDiskFolder&) = delete;
    OpenDiskFolder& operator=(const OpenDiskFolder&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    // Whether realPath lies below the folder, where the attempts can reach it.
    bool contains(const std::string& realPath) const;
    // Opens a real path below the folder for reading when none of its
    // components, the last included, is a link. A path that is not below
    // the folder, or holds NUL, answers walk.
    Attempt openForReading(const std::string& realPath) const;
    // The folder at a real path below this one, held open on the same terms;
    // holds nothing when it is not a folder reached without a link.
    OpenDiskFolder folderAt(const std::string& realPath) const;
    // A new descriptor for reading the folder's entries (for fdopendir), -1 when there is none.
    int openForListing() const;

private:
    OpenDiskFolder(std::string real, int fd) : real_(std::move(real)), fd_(fd) {}
    Attempt attempt(const std::string& realPath, int flags) const;

    std::string real_;
    int fd_ = -1;
};

}  // namespace desktop
