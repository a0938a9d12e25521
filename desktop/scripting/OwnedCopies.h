#pragma once

// Folders a process makes for itself in a shared temporary folder, named after
// their owner: its process id and the time the system started it. The copies
// of a process that ended without removing its own (killed, crashed, left
// through _exit) are reclaimed by the next process that makes one, and a
// process that was given a dead owner's id again is told apart by its start
// time, so its arrival neither keeps the old copies for good nor loses its own.

#include <string>

namespace desktop {

// A new, empty folder parent/prefix<pid>-<start>-XXXXXX owned by this
// process; empty when it cannot be made.
std::string makeOwnedFolder(const std::string& parent, const std::string& prefix);

// Removes every folder of parent named prefix<pid>-... whose owner no longer
// runs: no process has that id, or the one that has it started at another
// time. A name without a start time (an older copy) is judged by its id alone.
// A copy whose owner cannot be told is kept.
void reclaimAbandonedFolders(const std::string& parent, const std::string& prefix);

}  // namespace desktop
