#pragma once

#include "host/Library.h"
#include "host/PlayAddress.h"

namespace host {

// `--serve`: the live playground. Starts the library on the simulated Mac as
// the demo does, serves the page at the address and runs the main run loop on
// the real clock until SIGINT or SIGTERM: browsers' pointer, keyboard and
// controls become verbs and commands on this thread; the screen goes back to
// them as frames when it changes. Exit status 0, or 2 when it cannot listen.
int runPlay(const Library& library, const PlayAddress& address);

}  // namespace host
