#pragma once

#include <string>

#include "host/Library.h"

namespace host {

// Sends every recorded line of a session transcript (one {"send", "reply"}
// object per line, as the demo writes it) again, on the manual clock, and
// compares each reply with the recorded one. Prints each difference and a
// summary; 0 when every reply matched, 1 when any differed, 2 when the
// transcript cannot be read.
int replaySession(const Library& library, const std::string& transcriptPath);

}  // namespace host
