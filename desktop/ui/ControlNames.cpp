// How the declarative toolkit names its controls for a person or a script:
// the accessibility role each kind of control reports, and whether a control
// answers to a label, also inside a lazy list's row that is not laid out yet.
#include "desktop/ui/ControlNames.h"

#include "desktop/ui/DeclarativeLayout.h"
#include "platform/ui/View.h"

namespace desktop::ui {

using platform::ui::declarative::Control;
using platform::ui::declarative::Node;
namespace role = platform::ui::role;
namespace declarative = platform::ui::declarative;

const char* roleName(Control::Role role) {
    switch (role) {
        case Control::Role::button:
        case Control::Role::toolbarItem: return role::button;
        case Control::Role::toggle: return role::checkBox;
        case Control::Role::picker: return role::popUpButton;
        case Control::Role::stepper: return role::incrementor;
        case Control::Role::textField: return role::textField;
        case Control::Role::sidebarRow: return role::row;
    }
    return role::button;
}

// The role a node of a row would take once laid out, if it is a control.
std::optional<Control::Role> controlRole(const Node& n) {
    switch (n.kind) {
        case declarative::Kind::button: return Control::Role::button;
        case declarative::Kind::toggle: return Control::Role::toggle;
        case declarative::Kind::picker: return Control::Role::picker;
        case declarative::Kind::stepper: return Control::Role::stepper;
        case declarative::Kind::textField: return Control::Role::textField;
        default: return std::nullopt;
    }
}

bool namedBy(const std::string& label, const std::string& visible, const std::string& accessibility, const std::string& placeholder) {
    return visible == label || accessibility == label || (!placeholder.empty() && placeholder == label);
}

// Searches a node tree that is not laid out (a lazy list's row) for a control
// so named: 1 when an enabled one is there, -1 when only disabled ones are, 0 when none.
int findInTree(const Node& n, const std::string& label, const std::function<bool(Control::Role)>& accepts, bool disabled) {
    bool off = disabled || n.disabled;
    int found = 0;
    if (auto role = controlRole(n); role && accepts(*role)) {
        std::string visible = visibleText(n);
        std::string accessibility = n.accessibilityLabel.empty() ? visible : n.accessibilityLabel;
        if (namedBy(label, visible, accessibility, n.kind == declarative::Kind::textField ? n.placeholder : std::string()))
            found = off ? -1 : 1;
    }
    if (found == 1) return 1;
    for (const auto& child : n.children) {
        int inner = findInTree(child, label, accepts, off);
        if (inner == 1) return 1;
        if (inner == -1) found = -1;
    }
    return found;
}

}  // namespace desktop::ui
