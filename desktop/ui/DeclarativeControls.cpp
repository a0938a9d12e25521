// The declarative layout's placing of controls: labels, buttons, toggles,
// pop-up buttons, steppers, text fields and labelled content.

#include "desktop/ui/DeclarativeLayout.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <numeric>

#include "desktop/ui/DeclarativeStyle.h"
#include "desktop/ui/DeclarativeTexts.h"
#include "desktop/ui/LayoutArithmetic.h"
#include "desktop/ui/TextMeasurer.h"
#include "platform/Workspace.h"
#include "platform/ui/Image.h"

namespace desktop::ui {

using namespace layout;

void DeclarativeLayout::placeLabel(const Node& n, Rect r, const Context& c, std::optional<Color> symbolColor) {
    double side = n.symbol.empty() ? 0 : symbolSide(c);
    double gap = side > 0 && !n.text.empty() ? style::labelGap : 0;
    double lineHeight = measurer_.lineHeight(fontOf(c));
    if (side > 0) {
        double band = std::min(r.height(), std::max(lineHeight, side));
        // The CJK face's ink sits low in its line: the glyph follows it. The
        // band is centred in the label's rect, as the text is.
        double drop = std::min(c.fontSize * 0.08, std::max(band - side, 0.0));
        double bandTop = alignY(r, band, Alignment::center);
        Paint& p = paint(Paint::Op::symbol, {r.minX(), bandTop + (band - side) / 2 + drop / 2, side, side}, c);
        p.text = n.symbol;
        if (symbolColor) p.color = *symbolColor;
    }
    if (!n.text.empty()) {
        double w = std::max(r.width() - side - gap, 0.0);
        Size t = textSize(n.text, c, w, n.lineLimit);
        Paint& p = paint(Paint::Op::text, {r.minX() + side + gap, alignY(r, t.height, Alignment::center), w, t.height}, c);
        p.text = n.text;
        p.lines = n.lineLimit;
    }
}

namespace {

// What a person reads on a button whose label is made of nodes.
void collectTexts(const Node& n, std::string& out) {
    if ((n.kind == Kind::text || n.kind == Kind::label) && !n.text.empty()) {
        if (!out.empty()) out += ' ';
        out += n.text;
    }
    for (const auto& child : n.children) collectTexts(child, out);
}

}  // namespace

std::string visibleText(const Node& n) {
    if (n.kind == Kind::button && !n.children.empty()) {
        std::string out;
        for (const auto& child : n.children) collectTexts(child, out);
        return out;
    }
    if (n.kind == Kind::textField) return n.text.empty() ? n.placeholder : n.text;
    return n.text;
}

void DeclarativeLayout::placeButton(Node& n, Rect r, const Context& c, const std::string& path) {
    bool bordered = n.buttonStyle == ButtonStyle::automatic || n.buttonStyle == ButtonStyle::prominent;
    Rect chrome = r;
    Color color = colorOf(c);
    if (bordered) {
        double h = std::max(style::controlHeight, std::min(r.height(), buttonLabelSize(n, r.width(), c).height + 2));
        chrome = {r.minX(), r.minY() + (r.height() - h) / 2, r.width(), h};
        paint(n.buttonStyle == ButtonStyle::prominent ? Paint::Op::prominentBezel : Paint::Op::bezel, chrome, c).radius =
            style::controlRadius;
        if (n.buttonStyle == ButtonStyle::prominent) color = Color::white();
    }
    Rect labelArea = bordered ? inset(chrome, 0, style::buttonTitlePadding) : chrome;
    placeButtonLabel(n, labelArea, c, path, color);
    control(Role::button, n, chrome, c, path, visibleText(n));
}

void DeclarativeLayout::placeButtonLabel(Node& n, Rect r, const Context& c, const std::string& path, Color color) {
    Context lc = c;
    lc.color = color;
    if (!n.children.empty()) {
        Size natural = buttonLabelSize(n, r.width(), lc);
        Rect area{alignX(r, std::min(natural.width, r.width()), Alignment::center), r.minY(), std::min(natural.width, r.width()),
                  r.height()};
        Context cc = lc;
        cc.axis = Axis::horizontal;
        std::vector<double> widths = hstackWidths(n, area.width(), lc);
        double x = area.minX();
        for (std::size_t i = 0; i < n.children.size(); ++i) {
            Node& child = n.children[i];
            double h = fit(child, widths[i], cc).height;
            place(child, {x, alignY(area, h, Alignment::center), widths[i], h}, cc, path + "." + std::to_string(i));
            x += widths[i] + sane(n.spacing);
        }
        return;
    }
    Size natural = buttonLabelSize(n, r.width(), lc);
    double w = std::min(natural.width, r.width());
    Rect area{alignX(r, w, Alignment::center), alignY(r, natural.height, Alignment::center), w, natural.height};
    Node shown;
    shown.kind = Kind::label;
    shown.text = n.text;
    shown.symbol = n.symbol;
    shown.lineLimit = n.lineLimit > 0 ? n.lineLimit : 1;
    placeLabel(shown, area, lc, lc.symbolColor.value_or(color));
}

void DeclarativeLayout::placeToggle(Node& n, Rect r, const Context& c, const std::string& path) {
    Rect knob;
    double y = alignY(r, style::switchHeight, Alignment::center);
    if (n.labelHidden || n.text.empty()) {
        knob = {r.minX(), y, style::switchWidth, style::switchHeight};
    } else {
        double gap = c.inForm ? style::formTitleGap : style::titleGap;
        double titleWidth = std::max(r.width() - style::switchWidth - gap, 0.0);
        Size t = textSize(n.text, c, titleWidth, n.lineLimit);
        Paint& title = paint(Paint::Op::text, {r.minX(), alignY(r, t.height, Alignment::center), titleWidth, t.height}, c);
        title.text = n.text;
        title.lines = n.lineLimit;
        double x = c.inForm ? r.maxX() - style::switchWidth : r.minX() + t.width + gap;
        knob = {x, y, style::switchWidth, style::switchHeight};
    }
    paint(Paint::Op::switchControl, knob, c).on = n.isOn;
    control(Role::toggle, n, knob, c, path, n.text).info.isOn = n.isOn;
}

void DeclarativeLayout::placePicker(Node& n, Rect r, const Context& c, const std::string& path) {
    double h = style::controlHeight;
    double y = alignY(r, h, Alignment::center);
    Rect button;
    if (n.labelHidden || n.text.empty()) {
        button = {r.minX(), y, r.width(), h};
    } else {
        double popUp = std::min(popUpIdealWidth(n, c), r.width());
        double gap = c.inForm ? style::formTitleGap : style::titleGap;
        double titleWidth = std::max(r.width() - popUp - gap, 0.0);
        Size t = textSize(n.text, c, titleWidth, n.lineLimit);
        Paint& title = paint(Paint::Op::text, {r.minX(), alignY(r, t.height, Alignment::center), titleWidth, t.height}, c);
        title.text = n.text;
        title.lines = n.lineLimit;
        double x = c.inForm ? r.maxX() - popUp : r.minX() + t.width + gap;
        button = {x, y, popUp, h};
    }
    std::string shown = pickerShownText(n);
    Paint& p = paint(Paint::Op::popUp, button, c);
    p.text = shown;
    p.lines = 1;
    PlacedControl& pc = control(Role::picker, n, button, c, path, n.text);
    pc.info.selection = n.selection;
}

void DeclarativeLayout::placeStepper(Node& n, Rect r, const Context& c, const std::string& path) {
    std::string shownValue = stepperValueText(n);
    Size v = textSize(shownValue, c, unbounded, 1);
    double h = style::controlHeight;
    Rect arrows;
    double valueX;
    if (!n.labelHidden && !n.text.empty() && !c.inForm) {
        double gap = style::titleGap;
        double titleWidth = std::max(r.width() - v.width - style::stepperGap - style::stepperWidth - gap, 0.0);
        Size t = textSize(n.text, c, titleWidth, n.lineLimit);
        Paint& title = paint(Paint::Op::text, {r.minX(), alignY(r, t.height, Alignment::center), titleWidth, t.height}, c);
        title.text = n.text;
        title.lines = n.lineLimit;
        valueX = r.minX() + t.width + gap;
    } else {
        if (!n.labelHidden && !n.text.empty()) {
            double titleWidth = std::max(r.width() - v.width - style::stepperGap - style::stepperWidth - style::formTitleGap, 0.0);
            Size t = textSize(n.text, c, titleWidth, n.lineLimit);
            Paint& title = paint(Paint::Op::text, {r.minX(), alignY(r, t.height, Alignment::center), titleWidth, t.height}, c);
            title.text = n.text;
            title.lines = n.lineLimit;
        }
        valueX = r.maxX() - style::stepperWidth - style::stepperGap - v.width;
    }
    Paint& value = paint(Paint::Op::text, {valueX, alignY(r, v.height, Alignment::center), v.width, v.height}, c);
    value.text = shownValue;
    value.lines = 1;
    arrows = {valueX + v.width + style::stepperGap, alignY(r, h, Alignment::center), style::stepperWidth, h};
    // Wide arithmetic: no value a page passes can overflow the bounds check.
    bool canIncrement = n.step > 0 && static_cast<__int128>(n.value) + n.step <= n.maximum;
    bool canDecrement = n.step > 0 && static_cast<__int128>(n.value) - n.step >= n.minimum;
    Paint& p = paint(Paint::Op::stepper, arrows, c);
    p.canIncrement = canIncrement;
    p.canDecrement = canDecrement;
    PlacedControl& pc = control(Role::stepper, n, arrows, c, path, n.text);
    pc.info.value = n.value;
    pc.info.canIncrement = canIncrement;
    pc.info.canDecrement = canDecrement;
    pc.upArrow = {arrows.minX(), arrows.minY(), arrows.width(), arrows.height() / 2};
    pc.downArrow = {arrows.minX(), arrows.midY(), arrows.width(), arrows.height() / 2};
}

void DeclarativeLayout::placeField(Node& n, Rect r, const Context& c, const std::string& path) {
    Rect box{r.minX(), alignY(r, style::controlHeight, Alignment::center), r.width(), style::controlHeight};
    Paint& p = paint(Paint::Op::field, box, c);
    p.on = n.text.empty();
    p.text = n.text.empty() ? n.placeholder : n.text;
    p.plain = n.buttonStyle == ButtonStyle::plain || n.buttonStyle == ButtonStyle::borderless;
    p.focused = path == focused_;
    PlacedControl& pc = control(Role::textField, n, box, c, path, visibleText(n));
    pc.placeholder = n.placeholder;
    // A field is called by its placeholder, whatever it holds.
    if (n.accessibilityLabel.empty()) pc.info.accessibilityLabel = n.placeholder;
    pc.info.focused = p.focused;
}

void DeclarativeLayout::placeLabeled(Node& n, Rect r, const Context& c, const std::string& path) {
    Size child = n.children.empty() ? Size{} : fit(n.children.front(), unbounded, c);
    child.width = std::min(child.width, r.width());
    double gap = c.inForm ? style::formTitleGap : style::titleGap;
    double titleWidth = std::max(r.width() - child.width - gap, 0.0);
    Size t = textSize(n.text, c, titleWidth, n.lineLimit);
    Paint& title = paint(Paint::Op::text, {r.minX(), alignY(r, t.height, Alignment::center), titleWidth, t.height}, c);
    title.text = n.text;
    title.lines = n.lineLimit;
    if (n.children.empty()) return;
    double x = c.inForm ? r.maxX() - child.width : r.minX() + t.width + gap;
    place(n.children.front(), {x, alignY(r, child.height, Alignment::center), child.width, child.height}, c, path + ".0");
}

}  // namespace desktop::ui
