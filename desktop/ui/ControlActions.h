#pragma once

// What pressing, stepping and picking a placed control does to its node. The
// node's callbacks are copied before they run: a callback may replace the
// tree, and with it the node, while it runs.

#include <memory>
#include <string>

#include "desktop/ui/LayoutResult.h"
#include "platform/Geometry.h"

namespace platform::ui { class View; }

namespace desktop::ui {

// The action of a button or toolbar item, a toggle's flip, or a sidebar
// row's selection. False for the other roles, whose press belongs to the
// view hosting them (a text field takes the focus, a picker pops up its
// options, a stepper steps by its arrows).
bool runAction(const PlacedControl& control);

// One step up or down within the stepper's bounds; false at a bound.
bool stepBy(const PlacedControl& control, int direction);

// Chooses the picker's option whose shown text or value is option; false
// when it has none.
bool chooseOption(const PlacedControl& control, const std::string& option);

// Pops up the picker's options as a menu with the current one checked and
// lying over the button at frame (the view's coordinates), as the system
// places a pop-up button's menu; choosing one calls the picker's `changed`.
void popUpOptions(const PlacedControl& control, platform::Rect frame, const std::shared_ptr<platform::ui::View>& view);

}  // namespace desktop::ui
