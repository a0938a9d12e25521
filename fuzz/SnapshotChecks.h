#pragma once

// The snapshot's contract, checked against the controller that produced it:
// its 25 keys with their types, the scroll offset inside its range, the
// strip's width and buttons as the layout gives them, every visible entry
// pinned or running, and the card naming a visible entry or nothing.

#include <nlohmann/json.hpp>

namespace orvane {
class NativeController;
}

namespace orvane::fuzz {

// controller: the one in the slot (null when there is none).
void checkSnapshot(const nlohmann::json& snapshot, const NativeController* controller);

}  // namespace orvane::fuzz
