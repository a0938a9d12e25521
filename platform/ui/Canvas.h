#pragma once

#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/ui/Appearance.h"
#include "platform/ui/Color.h"
#include "platform/ui/Font.h"
#include "platform/ui/TextStyle.h"

namespace platform::ui {

class Image;

enum class LineCap { butt, round, square };

// What a view's draw() paints on, in the view's own coordinates (points,
// bottom-left origin). Colours resolve against appearance().
class Canvas {
public:
    virtual ~Canvas() = default;

    virtual AppearanceName appearance() const = 0;
    virtual double scale() const = 0;

    virtual void fillRect(Rect rect, Color color) = 0;
    virtual void fillRoundedRect(Rect rect, double radiusX, double radiusY, Color color) = 0;
    virtual void strokeRoundedRect(Rect rect, double radius, double lineWidth, Color color) = 0;
    virtual void fillOval(Rect rect, Color color) = 0;
    virtual void strokePolyline(const std::vector<Point>& points, double lineWidth, LineCap cap, Color color) = 0;
    // Draws the whole image scaled into rect, source-over. A template image is
    // drawn as a mask in tint (the label colour when none is given).
    virtual void drawImage(const Image& image, Rect rect, double opacity) = 0;
    // Draws one line of text with its baseline-independent top-left at the
    // rectangle's top-left, clipped to the rectangle; long text is cut with an ellipsis.
    virtual void drawText(const std::string& text, Rect rect, Font font, Color color) = 0;
    virtual Size measureText(const std::string& text, Font font) = 0;
    // Draws text from the rectangle's top edge, clipped to it, each line
    // aligned within the width and broken as lineBreak says. A canvas that
    // lays out only single lines draws it as drawText does.
    virtual void drawParagraph(const std::string& text, Rect rect, Font font, Color color, TextAlignment alignment,
                               LineBreak lineBreak) {
        drawText(text, rect, font, color);
    }
    // Text broken into lines at the width (words first, then characters), at
    // most maxLines of them (0: no limit) with an ellipsis ending the last
    // when more would follow. Lines are centred when centered is set.
    virtual void drawWrappedText(const std::string& text, Rect rect, Font font, Color color, int maxLines, bool centered) {
        drawText(text, rect, font, color);
    }
    virtual Size measureWrappedText(const std::string& text, Font font, double width, int maxLines) {
        Size size = measureText(text, font);
        return {size.width < width ? size.width : width, size.height};
    }
    // Draws a template image as a mask in the tint (other images as drawImage does).
    virtual void drawTintedImage(const Image& image, Rect rect, Color tint, double opacity) { drawImage(image, rect, opacity); }

    virtual void save() = 0;
    virtual void restore() = 0;
    virtual void translate(double dx, double dy) = 0;
    virtual void clip(Rect rect) = 0;
    virtual void setAlpha(double alpha) = 0;  // multiplies everything drawn until restore()
};

}  // namespace platform::ui
