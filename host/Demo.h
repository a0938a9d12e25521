#pragma once

#include <string>

#include "host/Library.h"

namespace host {

// Runs the built-in session on the default scene and leaves the pictures of
// the library's surfaces and the transcript (session.jsonl) in folder.
// Returns the process exit status.
int runDemo(const Library& library, const std::string& folder);

// The demo's configuration (seven pinned apps, five slots) as a configure
// line, and what its host pushes into the settings window: the playground
// starts from the same Mac.
std::string demoConfigureLine();
std::string demoSettingsUpdateLine(const Library& library);

}  // namespace host
