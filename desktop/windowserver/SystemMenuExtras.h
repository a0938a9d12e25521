#pragma once

// The right end of the simulated Mac's menu bar that is not the host's: the
// system's own items (the clock, Control Centre) and other applications'
// status items. A scene gives the clock's text and how wide that end is; the
// host's items are laid out to its left, as the system packs newer items
// left of those already there.

#include <string>

#include <nlohmann/json_fwd.hpp>

namespace desktop {

struct SystemMenuExtras {
    // Empty: the scene shows no clock and no Control Centre.
    std::string clock;
    // Points at the right end of the menu bar taken before the host's items.
    double occupiedWidth = 0;
};

// Reads "menuBarClock" and "menuBarOccupiedWidth" (a negative or non-finite
// width counts as none).
void resetSystemMenuExtras(const nlohmann::json& scene);
const SystemMenuExtras& systemMenuExtras();

}  // namespace desktop
