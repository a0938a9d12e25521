#pragma once

// Text measuring for layout, as the platform's text system answers a view
// that asks how big its text will be: Pango on a small private surface, the
// same shaping the canvas draws with, and a cache so that a page laid out
// again after each keystroke does not shape the same strings again.

#include <string>
#include <unordered_map>

#include <cairo.h>

#include "platform/Geometry.h"
#include "platform/ui/Font.h"

namespace desktop::ui {

class CairoCanvas;

class TextMeasurer {
public:
    // One per process; main thread only, like the views that use it.
    static TextMeasurer& shared();
    ~TextMeasurer();
    TextMeasurer(const TextMeasurer&) = delete;
    TextMeasurer& operator=(const TextMeasurer&) = delete;

    // The text's size broken into lines at width (an infinite width keeps
    // each paragraph on one line), at most maxLines lines (0: any number).
    // Sizes are rounded up to whole points, so that a rectangle of the
    // measured width holds the text without breaking it again.
    platform::Size measure(const std::string& text, platform::ui::Font font, double width, int maxLines);
    // The height of one line in the font.
    double lineHeight(platform::ui::Font font);

private:
    TextMeasurer();

    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
    CairoCanvas* canvas_ = nullptr;
    std::unordered_map<std::string, platform::Size> cache_;
};

}  // namespace desktop::ui
