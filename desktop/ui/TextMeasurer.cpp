// Measures text for the declarative toolkit's layout with the canvas's own
// Pango shaping, cached by string, font, width and line limit.

#include "desktop/ui/TextMeasurer.h"

#include <cmath>

#include "desktop/ui/CairoCanvas.h"

namespace desktop::ui {
namespace {

// Enough for every string of a few pages; the cache starts over beyond it.
constexpr std::size_t cacheLimit = 20000;
constexpr double unlimitedWidth = 1e6;

}  // namespace

TextMeasurer& TextMeasurer::shared() {
    static TextMeasurer* measurer = new TextMeasurer();
    return *measurer;
}

TextMeasurer::TextMeasurer() {
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cr_ = cairo_create(surface_);
    canvas_ = new CairoCanvas(cr_, platform::ui::AppearanceName::aqua);
}

TextMeasurer::~TextMeasurer() {
    delete canvas_;
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

std::vector<TextMeasurer::Measured>& TextMeasurer::entriesOf(const std::string& text) {
    if (auto found = cache_.find(std::string_view(text)); found != cache_.end()) return found->second;
    if (entries_ >= cacheLimit) {
        cache_.clear();
        entries_ = 0;
    }
    return cache_[text];
}

platform::Size TextMeasurer::measure(const std::string& text, platform::ui::Font font, double width, int maxLines) {
    if (text.empty()) return {0, std::ceil(lineHeight(font))};
    double w = std::isfinite(width) && width < unlimitedWidth ? std::max(width, 1.0) : unlimitedWidth;
    auto& entries = entriesOf(text);
    for (const Measured& m : entries)
        if (m.size == font.size && m.width == w && m.weight == font.weight && m.lines == maxLines && m.mono == font.monospacedDigits)
            return m.result;
    platform::Size size = canvas_->measureWrappedText(text, font, w, maxLines);
    size = {std::ceil(size.width - 1e-6), std::ceil(size.height - 1e-6)};
    entries.push_back({font.size, w, font.weight, maxLines, font.monospacedDigits, size});
    ++entries_;
    return size;
}

double TextMeasurer::lineHeight(platform::ui::Font font) {
    static const std::string lineKey = "\x01line";
    auto& entries = entriesOf(lineKey);
    for (const Measured& m : entries)
        if (m.size == font.size && m.weight == font.weight && m.mono == font.monospacedDigits) return m.result.height;
    platform::Size size = canvas_->measureText("Ag", font);
    const double height = std::ceil(size.height - 1e-6);
    entries.push_back({font.size, 0, font.weight, 1, font.monospacedDigits, {0, height}});
    ++entries_;
    return height;
}

}  // namespace desktop::ui
