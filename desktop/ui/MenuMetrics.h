#pragma once

// The measurements of an open menu on the simulated Mac, shared by the
// window server's picture of the menu and the pop-up buttons that open one
// over themselves, so that both place the items alike.

#include <cstddef>

#include "platform/Geometry.h"

namespace platform::ui {
class Menu;
class MenuItem;
}  // namespace platform::ui

namespace desktop::ui::menu {

inline constexpr double itemHeight = 22;
inline constexpr double separatorHeight = 11;
inline constexpr double verticalPadding = 5;
inline constexpr double leadingInset = 22;
inline constexpr double iconSize = 16;

double itemHeightOf(const platform::ui::MenuItem& item);
// Where item titles start, from the menu's left edge: past the icon column
// when any item has an image.
double textLeft(bool anyImage);

// Where a pop-up button opens its menu so that the chosen item lies over the
// button with its title where the button shows it: the menu's top-left for a
// button whose title starts titleInset points in from its left edge.
platform::Point popUpMenuTopLeft(const platform::ui::Menu& menu, std::size_t chosen, platform::Rect button, double titleInset);

}  // namespace desktop::ui::menu
