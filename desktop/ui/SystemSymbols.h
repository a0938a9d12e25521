#pragma once

// The neutral glyph the declarative toolkit shows for a symbol name the
// system does not know (Image::systemSymbol gives nothing for one).

#include <memory>

namespace platform::ui { class Image; }

namespace desktop::ui {

// A template image of a rounded square outline, 16 points on a side.
std::shared_ptr<platform::ui::Image> neutralSymbol();

}  // namespace desktop::ui
