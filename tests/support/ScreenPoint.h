#pragma once

// A point of a view, in the view's own coordinates, written as the screen
// coordinates the pointer verbs take ("X Y").

#include <string>

#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace orvane::test {

inline std::string screenPoint(const platform::ui::View& view, double x, double y) {
    auto origin = view.window()->frame().origin;
    auto p = view.convertToWindow({x, y});
    return std::to_string(origin.x + p.x) + " " + std::to_string(origin.y + p.y);
}

}  // namespace orvane::test
