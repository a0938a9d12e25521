// Drawing of the declarative toolkit's display list, standing in for the
// platform's rendering of its standard controls: push buttons, switches,
// pop-up buttons, steppers, text fields and the spinning progress indicator,
// in the look of the regular control size, light or dark.

#include "desktop/ui/DeclarativeDrawing.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "desktop/ui/DeclarativeStyle.h"
#include "desktop/ui/ImageFitting.h"
#include "desktop/ui/SystemSymbols.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"

namespace desktop::ui {

using platform::ui::AppearanceName;

namespace {

using platform::Point;
using platform::ui::Canvas;
using platform::ui::Image;
using platform::ui::LineCap;

// One template image per symbol name; drawing scales the vector glyph.
// Names the system does not know share the neutral glyph.
const Image& symbolImage(const std::string& name) {
    static std::map<std::string, std::shared_ptr<Image>> images;
    static const std::shared_ptr<Image> neutral = neutralSymbol();
    if (!Image::hasSystemSymbol(name)) return *neutral;
    auto found = images.find(name);
    if (found == images.end()) found = images.emplace(name, Image::systemSymbol(name)).first;
    return *found->second;
}

void drawBezel(Canvas& canvas, Rect r, AppearanceName a) {
    if (!style::dark(a)) canvas.fillRoundedRect(r.offsetBy(0, -0.5), style::controlRadius, style::controlRadius, Color::rgba(0, 0, 0, 0.1));
    canvas.fillRoundedRect(r, style::controlRadius, style::controlRadius, style::bezel(a));
    canvas.strokeRoundedRect(r.insetBy(0.25, 0.25), style::controlRadius, 0.5, style::bezelBorder(a));
}

void drawSwitch(Canvas& canvas, Rect r, bool on, AppearanceName a) {
    double radius = r.height() / 2;
    canvas.fillRoundedRect(r, radius, radius, on ? Color::controlAccent() : style::switchOff(a));
    double knob = r.height() - 4;
    double x = on ? r.maxX() - 2 - knob : r.minX() + 2;
    Rect k{x, r.minY() + 2, knob, knob};
    canvas.fillOval(k.offsetBy(0, -0.5), Color::rgba(0, 0, 0, 0.18));
    canvas.fillOval(k, style::knob(a));
}

void drawChevronPair(Canvas& canvas, Rect cap, Color color, double width) {
    double cx = cap.midX(), cy = cap.midY();
    double w = cap.width() * 0.22, h = cap.height() * 0.14;
    canvas.strokePolyline({{cx - w, cy + h * 0.7}, {cx, cy + h * 2.2}, {cx + w, cy + h * 0.7}}, width, LineCap::round, color);
    canvas.strokePolyline({{cx - w, cy - h * 0.7}, {cx, cy - h * 2.2}, {cx + w, cy - h * 0.7}}, width, LineCap::round, color);
}

void drawPopUp(Canvas& canvas, const Paint& p, Rect r, AppearanceName a) {
    drawBezel(canvas, r, a);
    Rect cap{r.maxX() - style::popUpArrowWidth + 2, r.minY() + 3, style::popUpArrowWidth - 5, r.height() - 6};
    canvas.fillRoundedRect(cap, 4, 4, Color::controlAccent());
    drawChevronPair(canvas, cap, Color::white(), 1.3);
    Font font = p.font;
    Size t = canvas.measureText(p.text, font);
    double w = std::max(cap.minX() - r.minX() - style::popUpTextInset - 3, 0.0);
    canvas.drawText(p.text, {r.minX() + style::popUpTextInset, r.midY() - t.height / 2, w, t.height}, font, Color::label());
}

void drawStepper(Canvas& canvas, const Paint& p, Rect r, AppearanceName a) {
    drawBezel(canvas, r, a);
    canvas.fillRect({r.minX() + 2, r.midY() - 0.25, r.width() - 4, 0.5}, Color::separator());
    double cx = r.midX(), w = 3;
    Color up = p.canIncrement ? Color::label() : Color::tertiaryLabel();
    Color down = p.canDecrement ? Color::label() : Color::tertiaryLabel();
    double upY = r.midY() + r.height() / 4, downY = r.midY() - r.height() / 4;
    canvas.strokePolyline({{cx - w, upY - 1.5}, {cx, upY + 1.5}, {cx + w, upY - 1.5}}, 1.3, LineCap::round, up);
    canvas.strokePolyline({{cx - w, downY + 1.5}, {cx, downY - 1.5}, {cx + w, downY + 1.5}}, 1.3, LineCap::round, down);
}

void drawField(Canvas& canvas, const Paint& p, Rect r, AppearanceName a) {
    if (!p.plain) {
        canvas.fillRoundedRect(r, 4, 4, style::fieldBackground(a));
        canvas.strokeRoundedRect(r.insetBy(0.25, 0.25), 4, 0.5, style::bezelBorder(a));
        if (p.focused)
            canvas.strokeRoundedRect(r.insetBy(-1.5, -1.5), 5.5, style::focusRingWidth, Color::controlAccent().withAlpha(0.5));
    }
    double inset = p.plain ? 0 : style::fieldTextInset;
    Rect area{r.minX() + inset, r.minY(), std::max(r.width() - 2 * inset, 0.0), r.height()};
    Size t = canvas.measureText(p.text, p.font);
    double caretRoom = p.focused ? 2 : 0;
    // A value longer than the field shows its end, where typing goes.
    double x = area.minX();
    if (!p.on && t.width + caretRoom > area.width()) x = area.maxX() - caretRoom - t.width;
    canvas.save();
    canvas.clip(area);
    Color color = p.on ? Color::tertiaryLabel() : Color::label();
    canvas.drawText(p.text, {x, r.midY() - t.height / 2, t.width + 1, t.height}, p.font, color);
    if (p.focused) {
        double caret = p.on ? area.minX() : std::min(x + t.width + 1, area.maxX() - 1);
        double h = std::min(t.height, r.height() - 4);
        canvas.fillRect({caret, r.midY() - h / 2, 1, h}, Color::label());
    }
    canvas.restore();
}

void drawSpinner(Canvas& canvas, Rect r) {
    double cx = r.midX(), cy = r.midY(), outer = r.width() / 2, inner = outer * 0.5;
    for (int i = 0; i < 12; ++i) {
        double angle = M_PI / 2 - i * M_PI / 6;
        double alpha = 0.85 - i * 0.06;
        canvas.strokePolyline({{cx + inner * std::cos(angle), cy + inner * std::sin(angle)},
                               {cx + outer * std::cos(angle), cy + outer * std::sin(angle)}},
                              r.width() / 11, LineCap::round, Color::label().withAlpha(std::max(alpha, 0.15)));
    }
}

}  // namespace

std::size_t drawPaints(Canvas& canvas, const std::vector<Paint>& paints, double viewHeight) {
    AppearanceName a = canvas.appearance();
    auto flip = [viewHeight](Rect r) { return Rect{r.minX(), viewHeight - r.minY() - r.height(), r.width(), r.height()}; };
    std::size_t rows = 0;
    for (const Paint& p : paints) {
        // What lies outside its scrolled area (or the view) is not drawn at all.
        if (!p.clip.intersects(p.rect)) continue;
        if (p.op == Paint::Op::rowMarker) {
            ++rows;
            continue;
        }
        Rect r = flip(p.rect);
        canvas.save();
        canvas.clip(flip(p.clip));
        if (p.alpha < 1) canvas.setAlpha(p.alpha);
        switch (p.op) {
            case Paint::Op::fill:
                if (p.radius > 0) canvas.fillRoundedRect(r, p.radius, p.radius, p.color);
                else canvas.fillRect(r, p.color);
                break;
            case Paint::Op::stroke: canvas.strokeRoundedRect(r.insetBy(0.25, 0.25), p.radius, 0.5, p.color); break;
            case Paint::Op::text: canvas.drawWrappedText(p.text, r, p.font, p.color, p.lines, p.centered); break;
            case Paint::Op::symbol: {
                // Narrow glyphs (chevron.left) keep their proportions in the symbol's square.
                const Image& glyph = symbolImage(p.text);
                canvas.drawTintedImage(glyph, fitImage(glyph.size(), r, platform::ui::imageScaling::proportionallyUpOrDown), p.color, 1);
                break;
            }
            case Paint::Op::image:
                if (p.image) canvas.drawImage(*p.image, fitImage(p.image->size(), r, platform::ui::imageScaling::proportionallyUpOrDown), 1);
                break;
            case Paint::Op::bezel: drawBezel(canvas, r, a); break;
            case Paint::Op::prominentBezel:
                canvas.fillRoundedRect(r, style::controlRadius, style::controlRadius, Color::controlAccent());
                break;
            case Paint::Op::switchControl: drawSwitch(canvas, r, p.on, a); break;
            case Paint::Op::popUp: drawPopUp(canvas, p, r, a); break;
            case Paint::Op::stepper: drawStepper(canvas, p, r, a); break;
            case Paint::Op::field: drawField(canvas, p, r, a); break;
            case Paint::Op::spinner: drawSpinner(canvas, r); break;
            case Paint::Op::rowMarker: break;
        }
        canvas.restore();
    }
    return rows;
}

}  // namespace desktop::ui
