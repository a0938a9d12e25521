#pragma once

// The menu bar's status items on the simulated Mac.

#include <nlohmann/json_fwd.hpp>

namespace desktop {

inline constexpr double defaultStatusBarThickness = 24;

// Forgets the items of an earlier scene and takes the new thickness
// (a non-positive or non-finite one gives the default).
void resetStatusBar(double thickness);
// Places every item again: after a length changes or the screens change.
void layoutStatusItems();
// Each item, newest last: length, frame, autosave name, window, view, button.
nlohmann::json statusItemsState();

}  // namespace desktop
