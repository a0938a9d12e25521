#pragma once

// Plain file access on this machine for the simulated disk: whole-file reads
// with a size limit, plain writes, and atomic replacement, as the platform's
// safe-save does.

#include <cstddef>
#include <string>

namespace desktop {

struct FileRead {
    enum class Status { ok, missing, failed };
    Status status = Status::failed;
    std::string bytes;
};

// Reads a regular file of at most limit bytes; anything else (a folder, a
// larger file, no permission) is a failure, an absent file is missing.
FileRead readFile(const std::string& realPath, std::size_t limit);
// The same for a file already open for reading; closes fd.
FileRead readOpenFile(int fd, std::size_t limit);
// Creates the folder and its parents; true when it exists afterwards.
bool makeDirectories(const std::string& realPath);
// Writes to a temporary file in the same folder, flushes it to the device and
// renames it over the target, so a reader sees the old or the new file, never
// half of one. The new file keeps the mode of the one it replaces. Creates
// the parent folders, and removes the temporaries that earlier saves of the
// same file left behind when they were killed before their rename.
bool writeFileAtomically(const std::string& realPath, const std::string& bytes);
// The same in a folder that must already exist: nothing is created but the file.
bool replaceFileAtomically(const std::string& realPath, const std::string& bytes);
// Opens the file (created when missing), truncates it and writes the bytes,
// as a plain write does; the folder must exist.
bool writeFileInPlace(const std::string& realPath, const std::string& bytes);

}  // namespace desktop
