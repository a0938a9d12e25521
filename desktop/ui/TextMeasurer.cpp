// Measures text for the declarative toolkit's layout with the canvas's own
// Pango shaping, cached by string, font, width and line limit.

#include "desktop/ui/TextMeasurer.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "desktop/ui/CairoCanvas.h"

namespace desktop::ui {
namespace {

// Enough for every string of a few pages; the cache starts over beyond it.
constexpr std::size_t cacheLimit = 20000;
constexpr double unlimitedWidth = 1e6;

// The numbers' bytes, then the text: cheap to build on every lookup.
std::string cacheKey(const std::string& text, platform::ui::Font font, double width, int maxLines) {
    struct Fields {
        double size;
        double width;
        std::int32_t weight;
        std::int32_t lines;
        std::int32_t mono;
    } fields;
    std::memset(&fields, 0, sizeof fields);
    fields.size = font.size;
    fields.width = width;
    fields.weight = static_cast<std::int32_t>(font.weight);
    fields.lines = maxLines;
    fields.mono = font.monospacedDigits ? 1 : 0;
    std::string key;
    key.reserve(sizeof fields + text.size());
    key.append(reinterpret_cast<const char*>(&fields), sizeof fields);
    key += text;
    return key;
}

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

platform::Size TextMeasurer::measure(const std::string& text, platform::ui::Font font, double width, int maxLines) {
    if (text.empty()) return {0, std::ceil(lineHeight(font))};
    double w = std::isfinite(width) && width < unlimitedWidth ? std::max(width, 1.0) : unlimitedWidth;
    std::string key = cacheKey(text, font, w, maxLines);
    if (auto found = cache_.find(key); found != cache_.end()) return found->second;
    platform::Size size = canvas_->measureWrappedText(text, font, w, maxLines);
    size = {std::ceil(size.width - 1e-6), std::ceil(size.height - 1e-6)};
    if (cache_.size() >= cacheLimit) cache_.clear();
    cache_.emplace(std::move(key), size);
    return size;
}

double TextMeasurer::lineHeight(platform::ui::Font font) {
    std::string key = cacheKey("\x01line", font, 0, 1);
    if (auto found = cache_.find(key); found != cache_.end()) return found->second.height;
    platform::Size size = canvas_->measureText("Ag", font);
    if (cache_.size() >= cacheLimit) cache_.clear();
    cache_.emplace(std::move(key), platform::Size{0, std::ceil(size.height - 1e-6)});
    return std::ceil(size.height - 1e-6);
}

}  // namespace desktop::ui
