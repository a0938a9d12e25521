// The declarative layout's placing of containers: inset lists that build
// only the rows in view, grouped forms, the sidebar, the split view with its
// toolbar, the empty-search view and the progress indicator.

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
    // The rows asked for so far; a lazy list's rows built now that may be
    // kept for the next passes once placed carry toKeep.
    struct Built {
        std::size_t index;
        Node* node;
        std::shared_ptr<Node> toKeep;
    };
    std::vector<Built> built;
    std::vector<std::shared_ptr<Node>>* listRows = nullptr;
    if (lazy) listRows = &result_.builtRows.emplace_back(BuiltRows{path, {}}).rows;
    auto rowNode = [&](std::size_t i) -> Built& {
        for (Built& b : built)
            if (b.index == i) return b;
        if (!lazy) return built.emplace_back(Built{i, &n.children[i], nullptr});
        LazyRow row = lazyRow(n, i, rc);
        listRows->push_back(row.node);
        return built.emplace_back(Built{i, row.node.get(), row.keep ? std::move(row.node) : nullptr});
    };
    double rowHeight = count > 0 ? listRowSize(*rowNode(0).node, contentWidth, rc).height : 0;
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
    if (last > first) {
        built.reserve(last - first + 1);
        if (listRows) listRows->reserve(last - first + 1);
    }
    // Each row's path is the list's and its index; one string serves them all.
    std::string rowPath = path + ".";
    const std::size_t stem = rowPath.size();
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
        Built& row = rowNode(i);
        Rect inner = inset(rowRect, style::listRowPaddingV, style::listRowPaddingH);
        Size s = fit(*row.node, inner.width(), rc);
        rowPath.resize(stem);
        rowPath += std::to_string(i);
        place(*row.node, {inner.minX(), alignY(inner, s.height, Alignment::center), std::min(s.width, inner.width()), s.height}, rc,
              rowPath);
        if (row.toKeep) reused_.keepRow(std::move(row.toKeep), rc);
        ++result_.rowsLaidOut;
    }
    paintScroller(area, c);
}

DeclarativeLayout::LazyRow DeclarativeLayout::lazyRow(const Node& list, std::size_t index, const Context& rc) {
    std::string key;
    if (list.rowKeyAt) {
        try {
            key = list.rowKeyAt(index);
        } catch (...) {
            key.clear();  // a row that cannot name its key is built
        }
        if (!key.empty())
            if (auto kept = reused_.keptRow(key, rc)) return {std::move(kept), false};
    }
    auto row = std::make_shared<Node>();
    try {
        *row = list.rowAt(index);
    } catch (...) {
        *row = Node{};  // a row that cannot be built shows as empty
    }
    ++result_.rowsBuilt;
    // A row that does not carry the key its list told is not taken for that key.
    const bool keep = !key.empty() && row->reuseKey == key && row->id.empty();
    return {std::move(row), keep};
}

// The system flashes the overlay scroller when a scrolled view appears: the
// knob's length is the share of the content in view, its place the offset.
void DeclarativeLayout::paintScroller(const ScrollArea& area, const Context& c) {
    const Rect& v = area.viewport;
    if (!(area.contentHeight > v.height() + 0.5) || !(v.height() > 2 * style::scrollerShortest)) return;
    double track = v.height() - 2 * style::scrollerInset;
    double length = std::max(style::scrollerShortest, track * v.height() / area.contentHeight);
    double travel = std::max(area.contentHeight - v.height(), 1.0);
    double top = v.minY() + style::scrollerInset + (track - length) * std::clamp(area.offset / travel, 0.0, 1.0);
    Paint& knob = paint(Paint::Op::fill, {v.maxX() - style::scrollerInset - style::scrollerWidth, top, style::scrollerWidth, length}, c);
    knob.color = style::scrollerKnob(appearance_);
    knob.radius = style::scrollerWidth / 2;
    knob.alpha = 1;
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
    paintScroller(area, c);
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

    Context cc = c.along(Axis::none);
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
