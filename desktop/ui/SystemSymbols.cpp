// The platform's symbol images, standing in for SF Symbols: the few glyphs
// the library names, drawn as vector strokes so they stay crisp at every
// backing scale, as templates tinted like the real ones. An unknown name
// gives no image, as the platform does.

#include <map>
#include <vector>

#include "platform/ui/Canvas.h"
#include "platform/ui/Image.h"

namespace platform::ui {
namespace {

// A glyph: its size in points and one stroked polyline in those points.
struct Glyph {
    Size size;
    std::vector<Point> stroke;
    double lineWidth;
};

const std::map<std::string, Glyph>& glyphs() {
    static const std::map<std::string, Glyph> table = {
        {"chevron.left", {{9, 14}, {{6.5, 12}, {2, 7}, {6.5, 2}}, 1.9}},
        {"chevron.right", {{9, 14}, {{2.5, 12}, {7, 7}, {2.5, 2}}, 1.9}},
    };
    return table;
}

}  // namespace

std::shared_ptr<Image> Image::systemSymbol(const std::string& name, std::string accessibilityDescription) {
    auto found = glyphs().find(name);
    if (found == glyphs().end()) return nullptr;
    const Glyph glyph = found->second;
    auto image = withDrawing(glyph.size, [glyph](Canvas& canvas, Rect) {
        canvas.strokePolyline(glyph.stroke, glyph.lineWidth, LineCap::round, Color::label());
    });
    image->setTemplate(true);
    image->setAccessibilityDescription(std::move(accessibilityDescription));
    return image;
}

}  // namespace platform::ui
