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
#include "desktop/ui/LayoutArithmetic.h"
#include "desktop/ui/TextMeasurer.h"
#include "platform/Workspace.h"
#include "platform/ui/Image.h"

namespace desktop::ui {

using namespace layout;

namespace {
constexpr std::size_t reserveBeyond = 16;
}



DeclarativeLayout::DeclarativeLayout(TextMeasurer& measurer, platform::ui::AppearanceName appearance,
                                     const std::map<std::string, double>& offsets, const std::string& focused,
                                     std::unordered_map<std::string, std::shared_ptr<platform::ui::Image>>& iconCache)
    : measurer_(measurer), appearance_(appearance), offsets_(offsets), focused_(focused), icons_(iconCache), reused_(appearance) {}

LayoutResult DeclarativeLayout::run(Node& root, Size bounds) {
    result_ = {};
    fits_.clear();
    identifiedFits_.clear();
    Context top;
    Rect all{0, 0, sane(bounds.width), sane(bounds.height)};
    top.clip = all;
    place(root, all, top, "0");
    attachFits();
    return std::move(result_);
}

LayoutResult DeclarativeLayout::runRegion(const Region& region) {
    result_ = {};
    // About as much as the node made before, so that the lists grow at most once.
    result_.paints.reserve(region.paints.end - region.paints.begin + reserveBeyond);
    result_.controls.reserve(region.controls.end - region.controls.begin + reserveBeyond);
    fits_.clear();
    identifiedFits_.clear();
    place(*region.node, region.rect, region.context, region.path);
    attachFits();
    return std::move(result_);
}

void DeclarativeLayout::attachFits() {
    for (Region& region : result_.regions)
        if (auto found = identifiedFits_.find(region.node); found != identifiedFits_.end()) region.fits = std::move(found->second);
    identifiedFits_.clear();
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
    if (!n.reuseKey.empty() && n.id.empty()) return placeReusable(n, rect, parent, path);
    std::size_t region = result_.regions.size();
    if (!n.id.empty()) {
        Region placed;
        placed.id = n.id;
        placed.node = &n;
        placed.path = path;
        placed.rect = rect;
        placed.context = parent;
        placed.paints.begin = result_.paints.size();
        placed.controls.begin = result_.controls.size();
        placed.scrollAreas.begin = result_.scrollAreas.size();
        result_.regions.push_back(std::move(placed));
    }
    placeNode(n, rect, parent, path);
    if (!n.id.empty()) {
        Region& placed = result_.regions[region];
        placed.paints.end = result_.paints.size();
        placed.controls.end = result_.controls.size();
        placed.scrollAreas.end = result_.scrollAreas.size();
    }
}

void DeclarativeLayout::placeReusable(Node& n, Rect rect, const Context& parent, const std::string& path) {
    if (reused_.replay(n, rect, parent, path, result_)) {
        ++result_.subtreesReused;
        return;
    }
    const ReusedLayouts::Marks before = ReusedLayouts::marks(result_);
    placeNode(n, rect, parent, path);
    reused_.keep(n, rect, parent, path, result_, before);
}

void DeclarativeLayout::placeNode(Node& n, Rect rect, const Context& parent, const std::string& path) {
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
            Context cc = c.along(Axis::vertical);
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

}  // namespace desktop::ui
