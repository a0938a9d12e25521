// The declarative layout's sizing pass: which nodes fill what they are
// offered, and the size each node needs for an offered width.

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
            const Context inside = c.along(n.kind == Kind::vstack ? Axis::vertical : Axis::horizontal);
            return std::any_of(n.children.begin(), n.children.end(), [&](const Node& child) { return flexibleWidth(child, inside); });
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
            const Context inside = c.along(n.kind == Kind::vstack ? Axis::vertical : Axis::horizontal);
            return std::any_of(n.children.begin(), n.children.end(), [&](const Node& child) { return flexibleHeight(child, inside); });
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
    FitCache::Key key{&n, width, parent.fontSize,
               static_cast<int>(parent.weight) | (parent.mono ? 8 : 0) | (parent.inForm ? 16 : 0) |
                   (static_cast<int>(parent.axis) << 5)};
    if (auto found = fits_.find(key)) return *found;
    const bool reusable = !n.reuseKey.empty() && n.id.empty();
    if (reusable) {
        if (auto kept = reused_.fitted(n, width, parent)) {
            fits_.insert(key, *kept);
            return *kept;
        }
    }

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
    fits_.insert(key, result);
    if (reusable) reused_.keepFit(n, width, parent, result);
    if (!n.id.empty()) identifiedFits_[&n].push_back({width, parent, result});
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
        Context cc = c.along(Axis::horizontal);
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
    Context cc = c.along(Axis::horizontal);
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
            Context cc = c.along(Axis::vertical);
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
            Context cc = c.along(Axis::vertical);
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
            Context cc = c.along(Axis::horizontal);
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

}  // namespace desktop::ui
