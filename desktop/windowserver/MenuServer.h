#pragma once

// The menu that the simulated Mac shows after a popup, until it is closed.

#include <memory>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "platform/Geometry.h"

namespace platform::ui { class Menu; }

namespace desktop {

// Closes the open menu without choosing anything.
void resetMenus();
bool menuIsOpen();
// The open menu (title, kind, location, items), or null.
nlohmann::json openMenuState();
// The open menu, or none, with the screen point its top-left corner sits at.
std::shared_ptr<platform::ui::Menu> openMenuAt(platform::Point& topLeft);

enum class ChooseOutcome { chosen, noMenu, noSuchItem, disabled };
// Chooses the first item with the title; runs of spaces count as one, so a
// title typed as separate words still matches. A disabled item leaves the menu open.
ChooseOutcome chooseMenuItem(const std::string& title);
// A title with its whitespace runs made one space and its ends trimmed: what
// chooseMenuItem compares when no item has the title exactly.
std::string squeezedMenuTitle(const std::string& text);
// Closes the open menu; false when none was open.
bool dismissMenu();

}  // namespace desktop
