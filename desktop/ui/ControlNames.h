#pragma once

// How the declarative toolkit names its controls: the accessibility role each
// kind of control reports, and the lookup of a control by the label a person
// reads or a script presses.

#include <functional>
#include <optional>
#include <string>

#include "platform/ui/Declarative.h"

namespace desktop::ui {

// The accessibility role a laid-out control of this kind reports.
const char* roleName(platform::ui::declarative::Control::Role role);
// The role a node of a row would take once laid out, if it is a control.
std::optional<platform::ui::declarative::Control::Role> controlRole(const platform::ui::declarative::Node& n);
// A control answers to its visible text, its accessibility label, or a text
// field's placeholder.
bool namedBy(const std::string& label, const std::string& visible, const std::string& accessibility, const std::string& placeholder);
// Searches a node tree that is not laid out (a lazy list's row) for a control
// so named: 1 when an enabled one is there, -1 when only disabled ones are, 0 when none.
int findInTree(const platform::ui::declarative::Node& n, const std::string& label,
               const std::function<bool(platform::ui::declarative::Control::Role)>& accepts, bool disabled);

}  // namespace desktop::ui
