#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/AppEntry.h"
#include "controller/ExtrasDetection.h"
#include "platform/Workspace.h"

namespace orvane {

// What the strip should show, computed from the pinned list, the running
// applications, their policies and the latest detections.
struct EntryComputation {
    std::vector<platform::RunningApp> running;  // not terminated, platform order
    std::vector<AppEntry> entries;              // kept candidates, in order
    std::vector<std::string> hidden;            // ids withheld by their policy
};

struct EntryInputs {
    const std::vector<AppEntry>& pinned;
    bool showRunning;
    bool autoDedup;
    const Detections& detections;
    int ownPid;
    // Asked at most once per computation, and only when an entry could yield.
    std::function<bool()> trusted;
};

// Pinned entries first (duplicates kept), then, with showRunning, one entry
// per regular running app with a bundle path that is neither pinned nor this
// process; then each running candidate yields by its policy.
EntryComputation computeEntries(std::vector<platform::RunningApp> applications, const EntryInputs& inputs);

// Two entry lists are the same to the strip when their ids match in order.
bool sameIdSequence(const std::vector<AppEntry>& a, const std::vector<AppEntry>& b);

}  // namespace orvane
