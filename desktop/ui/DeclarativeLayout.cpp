// The declarative toolkit's layout, standing in for the platform's layout of
// declarative views: a node is offered a width, answers the size it needs
// (texts wrap, flexible nodes take what they are offered), and is then placed
// in a rectangle, recording what it draws and the controls it offers. Lists
// and forms scroll; a list builds and places only the rows in view.

#include "desktop/ui/DeclarativeLayout.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <numeric>

#include "desktop/ui/DeclarativeStyle.h"
#include "desktop/ui/DeclarativeTexts.h"
#include "desktop/ui/TextMeasurer.h"
#include "platform/Workspace.h"
#include "platform/ui/Image.h"

namespace desktop::ui {
namespace {

using platform::ui::declarative::Alignment;
using platform::ui::declarative::ButtonStyle;
using platform::ui::declarative::FrameSpec;
using platform::ui::declarative::Insets;
using platform::ui::declarative::Kind;
using Role = Control::Role;
using Axis = DeclarativeLayout::Context::Axis;

constexpr double unbounded = std::numeric_limits<double>::infinity();
// Icons of files that give no size of their own are shown this big.
constexpr double defaultIconSide = 32;
// Caps on what a page can ask for, so that absurd values cannot overflow the arithmetic.
constexpr double largestLength = 1e6;

bool finite(double v) { return std::isfinite(v) && v < FrameSpec::infinity / 2; }
bool isInfinite(const std::optional<double>& v) { return v && !(*v < FrameSpec::infinity / 2); }
double sane(double v) { return std::isfinite(v) ? std::clamp(v, 0.0, largestLength) : 0.0; }
double horizontal(const Insets& i) { return sane(i.leading) + sane(i.trailing); }
double vertical(const Insets& i) { return sane(i.top) + sane(i.bottom); }

Rect inset(Rect r, const Insets& i) {
    return {r.minX() + sane(i.leading), r.minY() + sane(i.top), std::max(r.width() - horizontal(i), 0.0),
            std::max(r.height() - vertical(i), 0.0)};
}
Rect inset(Rect r, double dy, double dx) {
    return {r.minX() + dx, r.minY() + dy, std::max(r.width() - 2 * dx, 0.0), std::max(r.height() - 2 * dy, 0.0)};
}

Rect intersection(Rect a, Rect b) {
    double x0 = std::max(a.minX(), b.minX()), y0 = std::max(a.minY(), b.minY());
    double x1 = std::min(a.maxX(), b.maxX()), y1 = std::min(a.maxY(), b.maxY());
    return {x0, y0, std::max(x1 - x0, 0.0), std::max(y1 - y0, 0.0)};
}

// The x of a box of width w aligned in r.
double alignX(Rect r, double w, Alignment a) {
    if (a == Alignment::leading) return r.minX();
    if (a == Alignment::trailing) return r.maxX() - w;
    return r.minX() + (r.width() - w) / 2;
}
double alignY(Rect r, double h, Alignment a) {
    if (a == Alignment::top || h > r.height()) return r.minY();
    if (a == Alignment::bottom) return r.maxY() - h;
    return r.minY() + (r.height() - h) / 2;
}

}  // namespace

std::size_t DeclarativeLayout::FitKeyHash::operator()(const FitKey& k) const {
    std::size_t h = std::hash<const void*>()(k.node);
    h ^= std::hash<double>()(k.width) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    h ^= std::hash<double>()(k.fontSize) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    h ^= std::hash<int>()(k.flags) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    return h;
}

DeclarativeLayout::DeclarativeLayout(TextMeasurer& measurer, platform::ui::AppearanceName appearance,
                                     const std::map<std::string, double>& offsets, const std::string& focused,
                                     std::unordered_map<std::string, std::shared_ptr<platform::ui::Image>>& iconCache)
    : measurer_(measurer), appearance_(appearance), offsets_(offsets), focused_(focused), icons_(iconCache) {}

LayoutResult DeclarativeLayout::run(Node& root, Size bounds) {
    result_ = {};
    fits_.clear();
    fits_.reserve(512);
    Context top;
    Rect all{0, 0, sane(bounds.width), sane(bounds.height)};
    top.clip = all;
    place(root, all, top, "0");
    return std::move(result_);
}

// ---------------------------------------------------------------- style

DeclarativeLayout::Context DeclarativeLayout::inherit(const Context& parent, const Node& node) const {
    Context c = parent;
    if (node.fontSize && std::isfinite(*node.fontSize)) c.fontSize = std::clamp(*node.fontSize, 1.0, 200.0);
    if (node.weight) c.weight = *node.weight;
    if (node.color) c.color = node.color;
    if (node.symbolColor) c.symbolColor = node.symbolColor;
    c.mono = c.mono || node.monospacedDigits;
    c.disabled = c.disabled || node.disabled;
    return c;
}

Font DeclarativeLayout::fontOf(const Context& c) const {
    Font font = Font::system(c.fontSize, c.weight);
    font.monospacedDigits = c.mono;
    return font;
}

Color DeclarativeLayout::colorOf(const Context& c) const { return c.color.value_or(Color::label()); }

double DeclarativeLayout::symbolSide(const Context& c) const { return std::round(c.fontSize * style::symbolScale); }

Size DeclarativeLayout::textSize(const std::string& text, const Context& c, double width, int lines) {
    if (text.empty()) return {};
    return measurer_.measure(text, fontOf(c), finite(width) ? std::max(width, 1.0) : unbounded, std::max(lines, 0));
}

// ---------------------------------------------------------------- sizing

bool DeclarativeLayout::contentFillsWidth(const Node& n, const Context& c) {
    switch (n.kind) {
        case Kind::spacer: return c.axis == Axis::horizontal;
        case Kind::divider: return c.axis != Axis::horizontal;
        case Kind::textField:
        case Kind::list:
        case Kind::form:
        case Kind::splitView:
        case Kind::sidebarList:
        case Kind::emptySearch:
        case Kind::section: return true;
        case Kind::toggle:
        case Kind::stepper:
        case Kind::labeledContent: return c.inForm && !n.labelHidden;
        case Kind::picker: return c.inForm && !n.labelHidden && !n.text.empty();
        case Kind::vstack:
        case Kind::hstack: {
            Context cc = c;
            cc.axis = n.kind == Kind::vstack ? Axis::vertical : Axis::horizontal;
            return std::any_of(n.children.begin(), n.children.end(), [&](const Node& child) { return flexibleWidth(child, cc); });
        }
        default: return false;
    }
}

bool DeclarativeLayout::contentFillsHeight(const Node& n, const Context& c) {
    switch (n.kind) {
        case Kind::spacer: return c.axis == Axis::vertical;
        case Kind::list:
        case Kind::form:
        case Kind::splitView:
        case Kind::sidebarList:
        case Kind::emptySearch: return true;
        case Kind::vstack:
        case Kind::hstack: {
            Context cc = c;
            cc.axis = n.kind == Kind::vstack ? Axis::vertical : Axis::horizontal;
            return std::any_of(n.children.begin(), n.children.end(), [&](const Node& child) { return flexibleHeight(child, cc); });
        }
        default: return false;
    }
}

bool DeclarativeLayout::flexibleWidth(const Node& n, const Context& parent) {
    if (n.frame.width) return false;
    if (isInfinite(n.frame.maxWidth)) return true;
    if (n.frame.maxWidth) return false;
    // Whether content fills depends on the axis and the form around it, not on text style.
    return contentFillsWidth(n, parent);
}

bool DeclarativeLayout::flexibleHeight(const Node& n, const Context& parent) {
    if (n.frame.height) return false;
    if (isInfinite(n.frame.maxHeight)) return true;
    if (n.frame.maxHeight) return false;
    return contentFillsHeight(n, parent);
}

Size DeclarativeLayout::fit(const Node& n, double width, const Context& parent) {
    FitKey key{&n, width, parent.fontSize,
               static_cast<int>(parent.weight) | (parent.mono ? 8 : 0) | (parent.inForm ? 16 : 0) |
                   (static_cast<int>(parent.axis) << 5)};
    if (auto found = fits_.find(key); found != fits_.end()) return found->second;

    Context c = inherit(parent, n);
    const FrameSpec& f = n.frame;
    double outer = width - horizontal(n.margin);
    double avail = outer;
    if (f.width) avail = sane(*f.width);
    else if (f.maxWidth && !isInfinite(f.maxWidth)) avail = std::min(avail, sane(*f.maxWidth));
    double contentWidth = std::max(avail - horizontal(n.padding), 0.0);
    Size s = content(n, contentWidth, c);

    double w = s.width + horizontal(n.padding);
    double h = s.height + vertical(n.padding);
    if (f.width) {
        w = sane(*f.width);
    } else {
        if (!finite(outer) && f.idealWidth) w = sane(*f.idealWidth);
        if (f.minWidth) w = std::max(w, sane(*f.minWidth));
        if (isInfinite(f.maxWidth)) {
            if (finite(outer)) w = std::max(w, outer);
        } else if (f.maxWidth) {
            w = std::min(w, sane(*f.maxWidth));
        }
    }
    if (f.height) {
        h = sane(*f.height);
    } else {
        if (f.minHeight) h = std::max(h, sane(*f.minHeight));
        if (f.maxHeight && !isInfinite(f.maxHeight)) h = std::min(h, sane(*f.maxHeight));
    }
    Size result{w + horizontal(n.margin), h + vertical(n.margin)};
    fits_.emplace(key, result);
    return result;
}

double DeclarativeLayout::popUpIdealWidth(const Node& n, const Context& c) {
    double widest = 0;
    for (const auto& [value, shown] : n.options) widest = std::max(widest, textSize(shown, c, unbounded, 1).width);
    if (n.options.empty()) widest = textSize(n.selection, c, unbounded, 1).width;
    return style::popUpTextInset + widest + 4 + style::popUpArrowWidth;
}

std::string DeclarativeLayout::stepperValueText(const Node& n) const {
    return n.detail.empty() ? std::to_string(n.value) : n.detail;
}

std::string DeclarativeLayout::pickerShownText(const Node& n) const {
    for (const auto& [value, shown] : n.options)
        if (value == n.selection) return shown;
    return n.selection;
}

Size DeclarativeLayout::buttonLabelSize(const Node& n, double width, const Context& c) {
    if (!n.children.empty()) {
        Context cc = c;
        cc.axis = Axis::horizontal;
        std::vector<double> widths = hstackWidths(n, width, c);
        double w = 0, h = 0;
        for (std::size_t i = 0; i < n.children.size(); ++i) {
            w += widths[i];
            h = std::max(h, fit(n.children[i], widths[i], cc).height);
        }
        w += sane(n.spacing) * static_cast<double>(n.children.size() - 1);
        return {w, h};
    }
    double side = n.symbol.empty() ? 0 : symbolSide(c);
    double gap = side > 0 && !n.text.empty() ? style::labelGap : 0;
    Size t = textSize(n.text, c, width - side - gap, n.lineLimit > 0 ? n.lineLimit : 1);
    return {side + gap + t.width, std::max(side, t.height)};
}

std::vector<double> DeclarativeLayout::hstackWidths(const Node& n, double width, const Context& c) {
    const auto& children = n.children;
    std::vector<double> out(children.size(), 0);
    if (children.empty()) return out;
    Context cc = c;
    cc.axis = Axis::horizontal;
    if (!finite(width)) {
        for (std::size_t i = 0; i < children.size(); ++i) out[i] = fit(children[i], unbounded, cc).width;
        return out;
    }
    double avail = width - sane(n.spacing) * static_cast<double>(children.size() - 1);
    std::vector<std::size_t> fixed, flexible;
    for (std::size_t i = 0; i < children.size(); ++i) (flexibleWidth(children[i], cc) ? flexible : fixed).push_back(i);

    std::vector<double> minimum(children.size(), 0);
    double flexibleMinimum = 0;
    for (std::size_t i : flexible) {
        minimum[i] = fit(children[i], 0, cc).width;
        flexibleMinimum += minimum[i];
    }
    // Fixed children get their ideal widths, the narrowest first, each at
    // most an equal share of what is left; wider ones wrap into their share.
    std::vector<double> ideal(children.size(), 0);
    for (std::size_t i : fixed) ideal[i] = fit(children[i], unbounded, cc).width;
    std::stable_sort(fixed.begin(), fixed.end(), [&](std::size_t a, std::size_t b) { return ideal[a] < ideal[b]; });
    double remaining = avail - flexibleMinimum;
    std::size_t left = fixed.size();
    for (std::size_t i : fixed) {
        double share = std::max(remaining / static_cast<double>(left), 0.0);
        double offered = std::min(ideal[i], share);
        out[i] = fit(children[i], offered, cc).width;
        remaining -= out[i];
        --left;
    }
    // Flexible children share the rest equally.
    double rest = avail;
    for (std::size_t i : fixed) rest -= out[i];
    for (std::size_t i : flexible) {
        double share = std::max(rest / static_cast<double>(flexible.size()), 0.0);
        out[i] = std::max(fit(children[i], std::max(share, minimum[i]), cc).width, minimum[i]);
    }
    return out;
}

Size DeclarativeLayout::content(const Node& n, double width, const Context& c) {
    double side = symbolSide(c);
    switch (n.kind) {
        case Kind::text: return textSize(n.text, c, width, n.lineLimit);
        case Kind::label: {
            if (n.symbol.empty()) return textSize(n.text, c, width, n.lineLimit);
            if (n.text.empty()) return {side, side};
            Size t = textSize(n.text, c, width - side - style::labelGap, n.lineLimit);
            return {side + style::labelGap + t.width, std::max(side, t.height)};
        }
        case Kind::symbol: return n.symbol.empty() ? Size{} : Size{side, side};
        case Kind::image:
            if (n.image && n.image->size().width > 0 && n.image->size().height > 0)
                return {sane(n.image->size().width), sane(n.image->size().height)};
            return {defaultIconSide, defaultIconSide};
        case Kind::button: {
            bool bordered = n.buttonStyle == ButtonStyle::automatic || n.buttonStyle == ButtonStyle::prominent;
            if (!bordered) return buttonLabelSize(n, width, c);
            Size label = buttonLabelSize(n, width - 2 * style::buttonTitlePadding, c);
            return {std::max(label.width + 2 * style::buttonTitlePadding, style::buttonMinimumWidth),
                    std::max(style::controlHeight, label.height + 2)};
        }
        case Kind::toggle: {
            if (n.labelHidden || n.text.empty()) return {style::switchWidth, style::switchHeight};
            double gap = c.inForm ? style::formTitleGap : style::titleGap;
            Size t = textSize(n.text, c, width - style::switchWidth - gap, n.lineLimit);
            double w = c.inForm && finite(width) ? width : t.width + gap + style::switchWidth;
            return {w, std::max(t.height, style::switchHeight)};
        }
        case Kind::picker: {
            double popUp = popUpIdealWidth(n, c);
            if (n.labelHidden || n.text.empty()) return {finite(width) ? std::min(popUp, width) : popUp, style::controlHeight};
            double gap = c.inForm ? style::formTitleGap : style::titleGap;
            Size t = textSize(n.text, c, width - popUp - gap, n.lineLimit);
            double w = c.inForm && finite(width) ? width : t.width + gap + popUp;
            return {w, std::max(t.height, style::controlHeight)};
        }
        case Kind::stepper: {
            Size v = textSize(stepperValueText(n), c, unbounded, 1);
            double trailing = v.width + style::stepperGap + style::stepperWidth;
            if (n.labelHidden || n.text.empty()) return {trailing, std::max(v.height, style::controlHeight)};
            double gap = c.inForm ? style::formTitleGap : style::titleGap;
            Size t = textSize(n.text, c, width - trailing - gap, n.lineLimit);
            double w = c.inForm && finite(width) ? width : t.width + gap + trailing;
            return {w, std::max({t.height, v.height, style::controlHeight})};
        }
        case Kind::textField:
            return {finite(width) ? std::max(width, style::fieldMinimumWidth) : style::fieldIdealWidth, style::controlHeight};
        case Kind::list:
        case Kind::form:
        case Kind::splitView: return {finite(width) ? width : 240, 0};
        case Kind::sidebarList:
            return {finite(width) ? width : 160, style::sidebarRowHeight * static_cast<double>(n.children.size())};
        case Kind::section: {
            Context cc = c;
            cc.axis = Axis::vertical;
            double h = 0, w = 0;
            for (const auto& child : n.header) {
                Size s = fit(child, width, cc);
                h += s.height + style::formHeaderGap;
                w = std::max(w, s.width);
            }
            for (const auto& child : n.children) {
                Size s = fit(child, width, cc);
                h += s.height + sane(n.spacing);
                w = std::max(w, s.width);
            }
            return {finite(width) ? width : w, h};
        }
        case Kind::labeledContent: {
            Size child = n.children.empty() ? Size{} : fit(n.children.front(), unbounded, c);
            double gap = c.inForm ? style::formTitleGap : style::titleGap;
            Size t = textSize(n.text, c, width - child.width - gap, n.lineLimit);
            double w = c.inForm && finite(width) ? width : t.width + gap + child.width;
            return {w, std::max(t.height, child.height)};
        }
        case Kind::divider:
            if (c.axis == Axis::horizontal) return {1, 0};
            return {finite(width) ? width : 0, 1};
        case Kind::spacer: return {c.axis == Axis::horizontal && finite(width) ? width : 0, 0};
        case Kind::progress: {
            Size t = textSize(n.text, c, width, 0);
            return {std::max(style::spinnerSize, t.width), style::spinnerSize + (n.text.empty() ? 0 : style::titleGap + t.height)};
        }
        case Kind::emptySearch: {
            double w = finite(width) ? width : style::emptyMaximumWidth;
            double block = std::min(std::max(w - 40, 40.0), style::emptyMaximumWidth);
            Context titleStyle = c;
            titleStyle.fontSize = style::emptyTitleSize;
            titleStyle.weight = Font::Weight::semibold;
            Context bodyStyle = c;
            bodyStyle.fontSize = platform::ui::declarative::textSize::body;
            double h = style::emptySymbolSize + 12 + textSize(emptySearchTitle(n.text), titleStyle, block, 2).height + 6 +
                       textSize(texts::checkSpelling, bodyStyle, block, 0).height;
            return {w, h};
        }
        case Kind::vstack: {
            Context cc = c;
            cc.axis = Axis::vertical;
            double w = 0, h = 0;
            bool flexible = false;
            for (const auto& child : n.children) {
                Size s = fit(child, width, cc);
                w = std::max(w, s.width);
                h += s.height;
                flexible = flexible || flexibleWidth(child, cc);
            }
            if (!n.children.empty()) h += sane(n.spacing) * static_cast<double>(n.children.size() - 1);
            if (flexible && finite(width)) w = std::max(w, width);
            return {w, h};
        }
        case Kind::hstack: {
            Context cc = c;
            cc.axis = Axis::horizontal;
            std::vector<double> widths = hstackWidths(n, width, c);
            double w = 0, h = 0;
            for (std::size_t i = 0; i < n.children.size(); ++i) {
                w += widths[i];
                h = std::max(h, fit(n.children[i], widths[i], cc).height);
            }
            if (!n.children.empty()) w += sane(n.spacing) * static_cast<double>(n.children.size() - 1);
            return {w, h};
        }
    }
    return {};
}

Size DeclarativeLayout::listRowSize(const Node& row, double width, const Context& c) {
    Size s = fit(row, width, c);
    return {s.width, s.height + 2 * style::listRowPaddingV};
}

double DeclarativeLayout::formRowHeight(const Node& row, double width, const Context& c) {
    return std::max(fit(row, width, c).height, style::formRowMinimumHeight) + 2 * style::formRowPaddingV;
}

// ---------------------------------------------------------------- placing

Paint& DeclarativeLayout::paint(Paint::Op op, Rect rect, const Context& c) {
    Paint p;
    p.op = op;
    p.rect = rect;
    p.clip = c.clip;
    p.alpha = c.disabled ? style::disabledAlpha : 1;
    p.enabled = !c.disabled;
    p.font = fontOf(c);
    p.color = colorOf(c);
    result_.paints.push_back(std::move(p));
    return result_.paints.back();
}

PlacedControl& DeclarativeLayout::control(Role role, Node& node, Rect frame, const Context& c, const std::string& path,
                                          std::string visibleText) {
    PlacedControl pc;
    pc.info.role = role;
    pc.info.accessibilityLabel = node.accessibilityLabel.empty() ? visibleText : node.accessibilityLabel;
    pc.info.text = std::move(visibleText);
    pc.info.toolTip = node.toolTip;
    pc.info.frame = frame;
    pc.info.enabled = !c.disabled;
    pc.clip = c.clip;
    pc.node = &node;
    pc.path = path;
    pc.scrollPath = c.scrollPath;
    result_.controls.push_back(std::move(pc));
    return result_.controls.back();
}

std::shared_ptr<platform::ui::Image> DeclarativeLayout::iconFor(const Node& n) {
    if (n.image) return n.image;
    if (n.iconPath.empty()) return nullptr;
    if (auto found = icons_.find(n.iconPath); found != icons_.end()) return found->second;
    auto icon = platform::workspace().iconForFile(n.iconPath);
    // Icons of a page's visible rows stay; a catalogue scrolled end to end starts the cache over.
    if (icons_.size() >= 512) icons_.clear();
    icons_.emplace(n.iconPath, icon);
    return icon;
}

void DeclarativeLayout::place(Node& n, Rect rect, const Context& parent, const std::string& path) {
    Context c = inherit(parent, n);
    Rect r = inset(rect, n.margin);
    if (n.background) {
        Paint& p = paint(Paint::Op::fill, r, c);
        p.color = *n.background;
        p.radius = sane(n.cornerRadius);
    }
    Rect inner = inset(r, n.padding);
    bool fillsWidth = contentFillsWidth(n, c), fillsHeight = contentFillsHeight(n, c);
    Rect cr = inner;
    if (!fillsWidth || !fillsHeight) {
        Size natural = content(n, inner.width(), c);
        double w = fillsWidth ? inner.width() : std::min(natural.width, inner.width());
        double h = fillsHeight ? inner.height() : natural.height;
        // Images fill their frame; a pop-up button without a title spans its frame's width.
        if (n.kind == Kind::image) w = inner.width(), h = inner.height();
        if (n.kind == Kind::picker && (n.labelHidden || n.text.empty())) w = inner.width();
        cr = {alignX(inner, w, n.frame.alignment), alignY(inner, h, n.frame.alignment), w, h};
    }
    placeContent(n, cr, c, path);
}

void DeclarativeLayout::placeContent(Node& n, Rect r, const Context& c, const std::string& path) {
    switch (n.kind) {
        case Kind::text: {
            Paint& p = paint(Paint::Op::text, r, c);
            p.text = n.text;
            p.lines = n.lineLimit;
            break;
        }
        case Kind::label: placeLabel(n, r, c, c.symbolColor); break;
        case Kind::symbol: {
            double side = symbolSide(c);
            Paint& p = paint(Paint::Op::symbol, {r.midX() - side / 2, r.midY() - side / 2, side, side}, c);
            p.text = n.symbol;
            if (c.symbolColor) p.color = *c.symbolColor;
            break;
        }
        case Kind::image: {
            Paint& p = paint(Paint::Op::image, r, c);
            p.image = iconFor(n);
            break;
        }
        case Kind::button: placeButton(n, r, c, path); break;
        case Kind::toggle: placeToggle(n, r, c, path); break;
        case Kind::picker: placePicker(n, r, c, path); break;
        case Kind::stepper: placeStepper(n, r, c, path); break;
        case Kind::textField: placeField(n, r, c, path); break;
        case Kind::list: placeList(n, r, c, path); break;
        case Kind::form: placeForm(n, r, c, path); break;
        case Kind::sidebarList: placeSidebar(n, r, c, path); break;
        case Kind::splitView: placeSplit(n, r, c, path); break;
        case Kind::labeledContent: placeLabeled(n, r, c, path); break;
        case Kind::divider: {
            Rect line = c.axis == Axis::horizontal ? Rect{r.midX() - 0.5, r.minY(), 1, r.height()}
                                                   : Rect{r.minX(), r.midY() - 0.5, r.width(), 1};
            paint(Paint::Op::fill, line, c).color = Color::separator();
            break;
        }
        case Kind::spacer: break;
        case Kind::progress: placeProgress(n, r, c); break;
        case Kind::emptySearch: placeEmptySearch(n, r, c); break;
        case Kind::section: {
            // A section outside a form reads as its heading above its rows.
            Context cc = c;
            cc.axis = Axis::vertical;
            double y = r.minY();
            for (std::size_t i = 0; i < n.header.size(); ++i) {
                Size s = fit(n.header[i], r.width(), cc);
                place(n.header[i], {r.minX(), y, std::min(s.width, r.width()), s.height}, cc, path + ".h" + std::to_string(i));
                y += s.height + style::formHeaderGap;
            }
            for (std::size_t i = 0; i < n.children.size(); ++i) {
                Size s = fit(n.children[i], r.width(), cc);
                place(n.children[i], {r.minX(), y, std::min(s.width, r.width()), s.height}, cc, path + "." + std::to_string(i));
                y += s.height + sane(n.spacing);
            }
            break;
        }
        case Kind::vstack:
        case Kind::hstack: placeStack(n, r, c, path); break;
    }
}

void DeclarativeLayout::placeStack(Node& n, Rect r, const Context& c, const std::string& path) {
    Context cc = c;
    double spacing = sane(n.spacing);
    auto& children = n.children;
    if (children.empty()) return;
    if (n.kind == Kind::vstack) {
        cc.axis = Axis::vertical;
        std::vector<double> widths(children.size()), heights(children.size());
        std::vector<std::size_t> flexible;
        double total = spacing * static_cast<double>(children.size() - 1);
        for (std::size_t i = 0; i < children.size(); ++i) {
            widths[i] = flexibleWidth(children[i], cc) ? r.width() : std::min(fit(children[i], r.width(), cc).width, r.width());
            heights[i] = fit(children[i], widths[i], cc).height;
            total += heights[i];
            if (flexibleHeight(children[i], cc)) flexible.push_back(i);
        }
        double extra = r.height() - total;
        if (extra > 0 && !flexible.empty())
            for (std::size_t i : flexible) heights[i] += extra / static_cast<double>(flexible.size());
        double y = r.minY();
        for (std::size_t i = 0; i < children.size(); ++i) {
            Rect slot{alignX(r, widths[i], n.alignment), y, widths[i], heights[i]};
            place(children[i], slot, cc, path + "." + std::to_string(i));
            y += heights[i] + spacing;
        }
        return;
    }
    cc.axis = Axis::horizontal;
    std::vector<double> widths = hstackWidths(n, r.width(), c);
    double x = r.minX();
    for (std::size_t i = 0; i < children.size(); ++i) {
        Node& child = children[i];
        bool stretch = child.kind == Kind::divider || flexibleHeight(child, cc);
        double h = stretch ? r.height() : fit(child, widths[i], cc).height;
        Rect slot{x, alignY(r, h, n.alignment), widths[i], h};
        place(child, slot, cc, path + "." + std::to_string(i));
        x += widths[i] + spacing;
    }
}

void DeclarativeLayout::placeLabel(const Node& n, Rect r, const Context& c, std::optional<Color> symbolColor) {
    double side = n.symbol.empty() ? 0 : symbolSide(c);
    double gap = side > 0 && !n.text.empty() ? style::labelGap : 0;
    double lineHeight = measurer_.lineHeight(fontOf(c));
    if (side > 0) {
        double band = std::min(r.height(), std::max(lineHeight, side));
        // The CJK face's ink sits low in its line: the glyph follows it.
        double drop = std::min(c.fontSize * 0.08, std::max(band - side, 0.0));
        Paint& p = paint(Paint::Op::symbol, {r.minX(), r.minY() + (band - side) / 2 + drop / 2, side, side}, c);
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

void DeclarativeLayout::placeList(Node& n, Rect r, const Context& c, const std::string& path) {
    paint(Paint::Op::fill, r, c).color = style::listBackground(appearance_);
    bool lazy = static_cast<bool>(n.rowAt);
    std::size_t count = lazy ? n.rowCount : n.children.size();
    Context rc = c;
    rc.clip = intersection(r, c.clip);
    rc.scrollPath = path;
    rc.axis = Axis::none;
    rc.inForm = false;

    Rect rows = inset(r, 0, style::listInset);
    double contentWidth = std::max(rows.width() - 2 * style::listRowPaddingH, 0.0);
    std::map<std::size_t, Node*> built;
    auto rowNode = [&](std::size_t i) -> Node* {
        if (!lazy) return &n.children[i];
        if (auto found = built.find(i); found != built.end()) return found->second;
        Node row;
        try {
            row = n.rowAt(i);
        } catch (...) {
            row = Node{};  // a row that cannot be built shows as empty
        }
        result_.builtRows.push_back(std::move(row));
        built[i] = &result_.builtRows.back();
        return built[i];
    };
    double rowHeight = count > 0 ? listRowSize(*rowNode(0), contentWidth, rc).height : 0;
    rowHeight = std::max(rowHeight, 1.0);
    double contentHeight = 2 * style::listVerticalInset + rowHeight * static_cast<double>(count);
    double offset = 0;
    if (auto found = offsets_.find(path); found != offsets_.end()) offset = found->second;
    offset = std::clamp(offset, 0.0, std::max(contentHeight - r.height(), 0.0));
    ScrollArea area;
    area.path = path;
    area.viewport = r;
    area.contentHeight = contentHeight;
    area.offset = offset;
    area.list = &n;
    area.rowHeight = rowHeight;
    area.rowsTop = style::listVerticalInset;
    result_.scrollAreas.push_back(area);
    if (count == 0 || r.height() <= 0) return;

    double firstY = offset - style::listVerticalInset;
    std::size_t first = static_cast<std::size_t>(std::max(std::floor(firstY / rowHeight), 0.0));
    std::size_t last = static_cast<std::size_t>(std::max(std::ceil((firstY + r.height()) / rowHeight), 0.0));
    last = std::min(last, count);
    for (std::size_t i = first; i < last; ++i) {
        Rect rowRect{rows.minX(), r.minY() + style::listVerticalInset + rowHeight * static_cast<double>(i) - offset, rows.width(),
                     rowHeight};
        paint(Paint::Op::rowMarker, rowRect, rc);
        if (n.alternatingRows && i % 2 == 1) {
            Paint& stripe = paint(Paint::Op::fill, rowRect, rc);
            stripe.color = style::alternateRow(appearance_);
            stripe.radius = style::listRowRadius;
            stripe.alpha = 1;
        }
        Node* row = rowNode(i);
        Rect inner = inset(rowRect, style::listRowPaddingV, style::listRowPaddingH);
        Size s = fit(*row, inner.width(), rc);
        place(*row, {inner.minX(), alignY(inner, s.height, Alignment::center), std::min(s.width, inner.width()), s.height}, rc,
              path + "." + std::to_string(i));
        ++result_.rowsLaidOut;
    }
}

void DeclarativeLayout::placeForm(Node& n, Rect r, const Context& c, const std::string& path) {
    paint(Paint::Op::fill, r, c).color = style::groupedBackground(appearance_);
    Context fc = c;
    fc.inForm = true;
    fc.clip = intersection(r, c.clip);
    fc.scrollPath = path;
    fc.axis = Axis::vertical;
    double boxWidth = std::max(r.width() - 2 * style::formInset, 0.0);
    double rowWidth = std::max(boxWidth - 2 * style::formRowPaddingH, 0.0);
    Context headerStyle = fc;
    headerStyle.inForm = false;
    headerStyle.fontSize = style::formHeaderSize;
    headerStyle.weight = Font::Weight::semibold;

    // A child that is not a section is a section of one row without a heading.
    struct Section {
        Node* heading = nullptr;
        std::vector<Node*> rows;
        std::string path;
    };
    std::vector<Section> sections;
    for (std::size_t i = 0; i < n.children.size(); ++i) {
        Node& child = n.children[i];
        Section s;
        s.path = path + "." + std::to_string(i);
        if (child.kind == Kind::section) {
            if (!child.header.empty()) s.heading = &child.header.front();
            for (auto& row : child.children) s.rows.push_back(&row);
        } else {
            s.rows.push_back(&child);
        }
        sections.push_back(std::move(s));
    }
    double total = 2 * style::formInset;
    std::vector<std::vector<double>> heights(sections.size());
    std::vector<double> headingHeights(sections.size(), 0);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        if (sections[i].heading) {
            headingHeights[i] = fit(*sections[i].heading, boxWidth - 2 * style::formHeaderInset, headerStyle).height;
            total += headingHeights[i] + style::formHeaderGap;
        }
        for (Node* row : sections[i].rows) {
            heights[i].push_back(formRowHeight(*row, rowWidth, fc));
            total += heights[i].back();
        }
        if (i + 1 < sections.size()) total += style::formSectionSpacing;
    }
    double offset = 0;
    if (auto found = offsets_.find(path); found != offsets_.end()) offset = found->second;
    offset = std::clamp(offset, 0.0, std::max(total - r.height(), 0.0));
    ScrollArea area;
    area.path = path;
    area.viewport = r;
    area.contentHeight = total;
    area.offset = offset;
    result_.scrollAreas.push_back(area);

    double x = r.minX() + style::formInset;
    double y = r.minY() + style::formInset - offset;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        Section& s = sections[i];
        if (s.heading) {
            Size hs = fit(*s.heading, boxWidth - 2 * style::formHeaderInset, headerStyle);
            place(*s.heading, {x + style::formHeaderInset, y, std::min(hs.width, boxWidth), headingHeights[i]}, headerStyle, s.path + ".h");
            y += headingHeights[i] + style::formHeaderGap;
        }
        double boxHeight = std::accumulate(heights[i].begin(), heights[i].end(), 0.0);
        if (!s.rows.empty()) {
            Rect box{x, y, boxWidth, boxHeight};
            Paint& fill = paint(Paint::Op::fill, box, fc);
            fill.color = style::groupedBox(appearance_);
            fill.radius = style::formBoxRadius;
            fill.alpha = 1;
            Paint& border = paint(Paint::Op::stroke, box, fc);
            border.color = style::groupedBoxBorder(appearance_);
            border.radius = style::formBoxRadius;
            border.alpha = 1;
        }
        for (std::size_t j = 0; j < s.rows.size(); ++j) {
            Rect rowRect{x, y, boxWidth, heights[i][j]};
            Rect inner = inset(rowRect, style::formRowPaddingV, style::formRowPaddingH);
            Node& row = *s.rows[j];
            bool fills = flexibleWidth(row, fc);
            Size natural = fit(row, inner.width(), fc);
            double w = fills ? inner.width() : std::min(natural.width, inner.width());
            place(row, {inner.minX(), alignY(inner, natural.height, Alignment::center), w, natural.height}, fc,
                  s.path + "." + std::to_string(j));
            if (j + 1 < s.rows.size()) {
                Paint& line = paint(Paint::Op::fill, {inner.minX(), rowRect.maxY() - 0.5, inner.width(), 1}, fc);
                line.color = Color::separator();
                line.alpha = 1;
            }
            y += heights[i][j];
        }
        y += style::formSectionSpacing;
    }
}

void DeclarativeLayout::placeSidebar(Node& n, Rect r, const Context& c, const std::string& path) {
    Context rc = c;
    rc.axis = Axis::none;
    if (!rc.symbolColor) rc.symbolColor = Color::controlAccent();
    double y = r.minY();
    for (std::size_t i = 0; i < n.children.size(); ++i) {
        Node& row = n.children[i];
        Rect rowRect{r.minX() + style::sidebarRowInset, y, std::max(r.width() - 2 * style::sidebarRowInset, 0.0),
                     style::sidebarRowHeight};
        bool selected = !row.tag.empty() && row.tag == n.selection;
        if (selected) {
            Paint& p = paint(Paint::Op::fill, rowRect, rc);
            p.color = style::sidebarSelection(appearance_);
            p.radius = style::sidebarSelectionRadius;
        }
        Rect inner = inset(rowRect, 0, style::sidebarRowPadding);
        Context lc = inherit(rc, row);
        if (row.kind == Kind::label) {
            Node shown = row;
            shown.lineLimit = 1;
            placeLabel(shown, inner, lc, lc.symbolColor);
        } else {
            Size s = fit(row, inner.width(), rc);
            place(row, {inner.minX(), alignY(inner, s.height, Alignment::center), std::min(s.width, inner.width()), s.height}, rc,
                  path + "." + std::to_string(i));
        }
        PlacedControl& pc = control(Role::sidebarRow, row, rowRect, lc, path + "." + std::to_string(i), row.text);
        pc.owner = &n;
        pc.info.selected = selected;
        y += style::sidebarRowHeight;
    }
}

void DeclarativeLayout::placeSplit(Node& n, Rect r, const Context& c, const std::string& path) {
    result_.hasToolbar = true;
    double sidebarWidth = style::sidebarIdealWidth;
    if (!n.children.empty()) {
        const FrameSpec& f = n.children.front().frame;
        if (f.width) sidebarWidth = sane(*f.width);
        else if (f.idealWidth) sidebarWidth = sane(*f.idealWidth);
        if (f.minWidth) sidebarWidth = std::max(sidebarWidth, sane(*f.minWidth));
        if (f.maxWidth && !isInfinite(f.maxWidth)) sidebarWidth = std::min(sidebarWidth, sane(*f.maxWidth));
    }
    sidebarWidth = std::min(sidebarWidth, r.width() / 2);
    double bar = std::min(style::toolbarHeight, r.height());
    Rect sidebar{r.minX(), r.minY(), sidebarWidth, r.height()};
    Rect detail{r.minX() + sidebarWidth + 1, r.minY(), std::max(r.width() - sidebarWidth - 1, 0.0), r.height()};
    paint(Paint::Op::fill, sidebar, c).color = style::sidebarBackground(appearance_);
    paint(Paint::Op::fill, detail, c).color = style::detailBackground(appearance_);
    paint(Paint::Op::fill, {sidebar.maxX(), r.minY(), 1, r.height()}, c).color = Color::separator();
    Rect toolbar{detail.minX(), r.minY(), detail.width(), bar};
    paint(Paint::Op::fill, {toolbar.minX(), toolbar.maxY() - 1, toolbar.width(), 1}, c).color = Color::separator();

    Context cc = c;
    cc.axis = Axis::none;
    if (n.children.size() > 0) {
        Context sc = cc;
        sc.clip = intersection(sidebar, c.clip);
        place(n.children[0], {sidebar.minX(), sidebar.minY() + bar, sidebar.width(), std::max(sidebar.height() - bar, 0.0)}, sc,
              path + ".0");
    }
    if (n.children.size() > 1) {
        Context dc = cc;
        Rect body{detail.minX(), detail.minY() + bar, detail.width(), std::max(detail.height() - bar, 0.0)};
        dc.clip = intersection(body, c.clip);
        place(n.children[1], body, dc, path + ".1");
    }
    Context tc = cc;
    tc.clip = intersection(toolbar, c.clip);
    placeToolbar(n, toolbar, tc, path);
}

void DeclarativeLayout::placeToolbar(Node& split, Rect bar, const Context& c, const std::string& path) {
    Context ic = c;
    ic.fontSize = platform::ui::declarative::textSize::body;
    ic.weight = Font::Weight::regular;
    double x = bar.maxX() - style::toolbarTrailingInset;
    double side = symbolSide(ic);
    for (std::size_t k = split.toolbar.size(); k-- > 0;) {
        Node& item = split.toolbar[k];
        Context lc = inherit(ic, item);
        lc.color = item.color.value_or(style::toolbarIcon(appearance_));
        double textWidth = item.text.empty() ? 0 : textSize(item.text, lc, unbounded, 1).width;
        double glyph = item.symbol.empty() ? 0 : side;
        double gap = glyph > 0 && textWidth > 0 ? style::labelGap : 0;
        double w = 2 * style::toolbarItemPadding + glyph + gap + textWidth;
        x -= w;
        Rect rect{x, bar.minY() + (bar.height() - style::toolbarItemHeight) / 2, w, style::toolbarItemHeight};
        Node shown;
        shown.kind = Kind::label;
        shown.text = item.text;
        shown.symbol = item.symbol;
        shown.lineLimit = 1;
        placeLabel(shown, inset(rect, 0, style::toolbarItemPadding), lc, lc.color);
        control(Role::toolbarItem, item, rect, lc, path + ".t" + std::to_string(k), item.text);
        x -= style::toolbarItemSpacing;
    }
    if (split.title.empty()) return;
    Context tc = c;
    tc.fontSize = style::toolbarTitleSize;
    tc.weight = Font::Weight::bold;
    tc.color = Color::label();
    double titleX = bar.minX() + style::toolbarTitleInset;
    double room = std::max(x - titleX - style::toolbarItemSpacing, 0.0);
    Size t = textSize(split.title, tc, room, 1);
    Paint& p = paint(Paint::Op::text, {titleX, alignY(bar, t.height, Alignment::center), room, t.height}, tc);
    p.text = split.title;
    p.lines = 1;
}

void DeclarativeLayout::placeEmptySearch(Node& n, Rect r, const Context& c) {
    double block = std::min(std::max(r.width() - 40, 40.0), style::emptyMaximumWidth);
    Context titleStyle = c;
    titleStyle.fontSize = style::emptyTitleSize;
    titleStyle.weight = Font::Weight::semibold;
    titleStyle.color = Color::label();
    Context bodyStyle = c;
    bodyStyle.fontSize = platform::ui::declarative::textSize::body;
    bodyStyle.weight = Font::Weight::regular;
    bodyStyle.color = Color::secondaryLabel();
    std::string title = emptySearchTitle(n.text);
    Size t = textSize(title, titleStyle, block, 2);
    Size d = textSize(texts::checkSpelling, bodyStyle, block, 0);
    double total = style::emptySymbolSize + 12 + t.height + 6 + d.height;
    double y = r.minY() + std::max((r.height() - total) / 2, 0.0);
    double left = r.midX() - block / 2;
    Paint& glyph = paint(Paint::Op::symbol, {r.midX() - style::emptySymbolSize / 2, y, style::emptySymbolSize, style::emptySymbolSize}, c);
    glyph.text = "magnifyingglass";
    glyph.color = Color::secondaryLabel();
    y += style::emptySymbolSize + 12;
    Paint& heading = paint(Paint::Op::text, {left, y, block, t.height}, titleStyle);
    heading.text = title;
    heading.lines = 2;
    heading.centered = true;
    y += t.height + 6;
    Paint& body = paint(Paint::Op::text, {left, y, block, d.height}, bodyStyle);
    body.text = texts::checkSpelling;
    body.centered = true;
}

void DeclarativeLayout::placeProgress(Node& n, Rect r, const Context& c) {
    paint(Paint::Op::spinner, {r.midX() - style::spinnerSize / 2, r.minY(), style::spinnerSize, style::spinnerSize}, c);
    if (n.text.empty()) return;
    Size t = textSize(n.text, c, r.width(), 0);
    Paint& p = paint(Paint::Op::text, {r.midX() - t.width / 2, r.minY() + style::spinnerSize + style::titleGap, t.width, t.height}, c);
    p.text = n.text;
    p.centered = true;
}

}  // namespace desktop::ui
