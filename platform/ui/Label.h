#pragma once

#include <string>

#include "platform/ui/Color.h"
#include "platform/ui/Font.h"
#include "platform/ui/TextStyle.h"
#include "platform/ui/View.h"

namespace platform::ui {

class Label : public View {
public:
    using Alignment = TextAlignment;
    explicit Label(Rect frame = {}, std::string text = {});

    const std::string& text() const { return text_; }
    void setText(std::string text);
    Font font() const { return font_; }
    void setFont(Font font);
    Color textColor() const { return color_; }
    void setTextColor(Color color);
    Alignment alignment() const { return alignment_; }
    void setAlignment(Alignment alignment);
    LineBreak lineBreakMode() const { return lineBreak_; }
    void setLineBreakMode(LineBreak lineBreak);

    void draw(Canvas& canvas) override;

private:
    std::string text_;
    Font font_;
    Color color_ = Color::label();
    Alignment alignment_ = Alignment::left;
    LineBreak lineBreak_ = LineBreak::truncatingTail;
};

}  // namespace platform::ui
