#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/AppEntry.h"
#include "platform/Workspace.h"

namespace platform::ui { class MenuItem; }

namespace orvane {

// The first running application whose bundle identifier is the entry's id,
// or else whose bundle path is the entry's path; nothing when none runs.
platform::RunningApp findRunning(const std::vector<platform::RunningApp>& running, const AppEntry& entry);

// What to open for an entry: its bundle when the file exists, else the
// bundle registered for its id; nothing when neither is found.
std::optional<std::string> applicationLocation(const AppEntry& entry);

// The running applications the all-applications menu offers: regular ones
// other than this process, as entries, in the platform's order.
std::vector<AppEntry> regularRunningEntries(const std::vector<platform::RunningApp>& running, int ownPid);

// The entry a menu item carries as its represented object (the four-key
// dictionary); nothing when the object is missing or does not convert.
std::optional<AppEntry> entryOfItem(const platform::ui::MenuItem& item);

}  // namespace orvane
