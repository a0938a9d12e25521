#pragma once

// Text measuring for layout, as the platform's text system answers a view
// that asks how big its text will be: Pango on a small private surface, the
// same shaping the canvas draws with, and a cache so that a page laid out
// again after each keystroke does not shape the same strings again.

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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

    // One entry per way a text was measured.
    struct Measured {
        double size, width;
        platform::ui::Font::Weight weight;
        int lines;
        bool mono;
        platform::Size result;
    };
    // Looked up by the text itself, so that a lookup builds no key.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
    };
    std::vector<Measured>& entriesOf(const std::string& text);

    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
    CairoCanvas* canvas_ = nullptr;
    std::unordered_map<std::string, std::vector<Measured>, TextHash, std::equal_to<>> cache_;
    std::size_t entries_ = 0;
};

}  // namespace desktop::ui
