// The platform's non-editable text field: text in the label's font and
// colour, aligned within its bounds, on one line cut with an ellipsis at its
// end or in its middle, or wrapped onto as many lines as fit.

#include "platform/ui/Label.h"

#include <algorithm>

#include "platform/ui/Canvas.h"

namespace platform::ui {

Label::Label(Rect frame, std::string text) : View(frame), text_(std::move(text)) {
    setAccessibilityRole(role::staticText);
}

void Label::setText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    setNeedsDisplay();
}

void Label::setFont(Font font) {
    if (font.size == font_.size && font.weight == font_.weight) return;
    font_ = font;
    setNeedsDisplay();
}

void Label::setTextColor(Color color) {
    color_ = color;
    setNeedsDisplay();
}

void Label::setAlignment(Alignment alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    setNeedsDisplay();
}

void Label::setLineBreakMode(LineBreak lineBreak) {
    if (lineBreak == lineBreak_) return;
    lineBreak_ = lineBreak;
    setNeedsDisplay();
}

void Label::draw(Canvas& canvas) {
    if (text_.empty()) return;
    Rect area = bounds();
    if (lineBreak_ != LineBreak::truncatingTail) {
        canvas.drawParagraph(text_, area, font_, color_, alignment_, lineBreak_);
        return;
    }
    if (alignment_ != Alignment::left) {
        double width = std::min(canvas.measureText(text_, font_).width, area.width());
        double slack = area.width() - width;
        area = {area.minX() + (alignment_ == Alignment::center ? slack / 2 : slack), area.minY(), width, area.height()};
    }
    canvas.drawText(text_, area, font_, color_);
}

}  // namespace platform::ui
