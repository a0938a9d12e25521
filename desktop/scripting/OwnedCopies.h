#pragma once

// Folders a process makes for itself in a shared temporary folder, named after
// their owner's process id, so that the copies of a process that ended without
// removing its own (killed, crashed, left through _exit) are reclaimed by the
// next process that makes one.

#include <string>

namespace desktop {

// A new, empty folder parent/prefix<pid>-XXXXXX owned by this process; empty
// when it cannot be made.
std::string makeOwnedFolder(const std::string& parent, const std::string& prefix);

// Removes every parent/prefix<pid>-* folder whose owner no longer runs.
void reclaimAbandonedFolders(const std::string& parent, const std::string& prefix);

}  // namespace desktop
