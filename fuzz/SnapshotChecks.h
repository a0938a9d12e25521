#pragma once

// The snapshot's contract, checked against the controller that produced it:
// its 25 keys with their types, the scroll offset inside its range, the
// strip's width and buttons as the layout gives them, every visible entry
// pinned or running, and the card naming a visible entry or nothing.

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "model/AppEntry.h"

namespace orvane {
class NativeController;
}

namespace orvane::fuzz {

// Everything the checks read besides the snapshot itself, so that the same
// snapshot in an equal context passes or fails alike and needs no second look.
struct SnapshotContext {
    bool controller = false;
    bool strip = false;
    bool qaMode = false;
    // A changed list waits while the pointer rests on the strip.
    bool pendingRefresh = false;
    int maxIcons = 0;
    std::vector<AppEntry> pinned;
    // The host's own bundle identifier, whose card the acceptance self-preview shows.
    std::string hostId;
    friend bool operator==(const SnapshotContext&, const SnapshotContext&) = default;
};

// controller: the one in the slot (null when there is none).
SnapshotContext snapshotContext(const NativeController* controller);
void checkSnapshot(const nlohmann::json& snapshot, const SnapshotContext& context);

}  // namespace orvane::fuzz
