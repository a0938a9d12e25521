#pragma once

#include <string>

#include "host/Library.h"

namespace host {

// Runs the built-in session on the default scene and leaves the pictures of
// the library's surfaces and the transcript (session.jsonl) in folder.
// Returns the process exit status.
int runDemo(const Library& library, const std::string& folder);

}  // namespace host
