#pragma once

// The one door from a real path of the simulated disk to this machine's file
// system. Disk.h resolves a path of the simulated Mac to a real path below the
// disk's root; the file is then opened from a descriptor of the root with the
// kernel keeping every lookup inside it, so that a folder the disk turned into
// a link after the resolution (or a link in a real path made by hand) leads
// to the disk's own folders and never out of the root. Paths that are not
// below the disk's root (the host's own folders) open as they are.

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <string>

namespace desktop {

// openat2(2) below folder with the given RESOLVE_ flags. Once the kernel has
// turned the call down as unknown or forbidden (EPERM is how a sandbox's
// filter refuses one), every call answers -1 with ENOSYS at once, and
// callers make the lookup their own way.
int openWithKernelLookup(int folder, const char* below, int flags, mode_t mode, std::uint64_t resolve);
bool kernelLookupAvailable();

// As open(2); -1 with errno when the file cannot be opened. Below the disk's
// root, an absolute link counts from the root and ".." stops there.
int openReal(const std::string& realPath, int flags, mode_t mode = 0);
// As stat(2) of the file openReal reaches; false when there is none.
bool statReal(const std::string& realPath, struct stat& info);
// The lookup openReal asks of the kernel, made here component by component:
// opens below, a path inside the folder root (a descriptor), following at
// most 32 links (then ELOOP). openReal uses it where the kernel has no
// openat2; it is here so that the two can be compared.
int openInsideByHand(int root, const std::string& below, int flags, mode_t mode = 0);

}  // namespace desktop
