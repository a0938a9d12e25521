#pragma once

// The declarative toolkit's layout, standing in for the platform's
// declarative layout system: sizes every node of a tree for the room its
// parent offers, places it, and records what to draw (a display list), the
// controls a person can use and the scrollable areas. Lists build, lay out and
// record only the rows in view.

#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "desktop/ui/FitCache.h"
#include "desktop/ui/LayoutResult.h"
#include "desktop/ui/ReusedLayouts.h"
#include "platform/ui/Appearance.h"
#include "platform/ui/Declarative.h"

namespace desktop::ui {

// The names this header uses (Rect, Size, Color, Font, Control, Node) come
// from LayoutResult.h, which declares them for the whole layout.
class TextMeasurer;

// What a person reads on the control the node describes (a button made of
// nodes reads as its texts joined by spaces; an empty field as its placeholder).
std::string visibleText(const Node& node);

class DeclarativeLayout {
public:
    // offsets: scroll offsets by area path; focused: the focused field's path.
    DeclarativeLayout(TextMeasurer& measurer, platform::ui::AppearanceName appearance,
                      const std::map<std::string, double>& offsets, const std::string& focused,
                      std::unordered_map<std::string, std::shared_ptr<platform::ui::Image>>& iconCache);

    LayoutResult run(Node& root, Size bounds);
    // Lays out the region's node alone, in its rect and context.
    LayoutResult runRegion(const Region& region);
    // Whether `node` would be given the same room as the region's node: the
    // same frame, the same answers to every size asked, the same directions filled.
    bool takesSameRoom(const Region& region, const Node& node);
    // The laid-out nodes kept by reuse key, for the next passes.
    ReusedLayouts& reused() { return reused_; }

    using Context = LayoutContext;

private:
    Context inherit(const Context& parent, const Node& node) const;
    Font fontOf(const Context& c) const;
    Color colorOf(const Context& c) const;

    Size fit(const Node& node, double width, const Context& parent);
    Size content(const Node& node, double width, const Context& c);
    bool flexibleWidth(const Node& node, const Context& parent);
    bool flexibleHeight(const Node& node, const Context& parent);
    bool contentFillsWidth(const Node& node, const Context& c);
    bool contentFillsHeight(const Node& node, const Context& c);

    std::vector<double> hstackWidths(const Node& node, double width, const Context& c);
    Size textSize(const std::string& text, const Context& c, double width, int lines);
    Size buttonLabelSize(const Node& node, double width, const Context& c);
    Size listRowSize(const Node& list, double width, const Context& c);
    double formRowHeight(const Node& row, double width, const Context& c);
    double symbolSide(const Context& c) const;
    double popUpIdealWidth(const Node& node, const Context& c);
    std::string stepperValueText(const Node& node) const;
    std::string pickerShownText(const Node& node) const;

    // Places a node, recording its region when it has an id.
    void place(Node& node, Rect rect, const Context& parent, const std::string& path);
    // Places a node with a reuse key from what it made before, or lays it out and keeps that.
    void placeReusable(Node& node, Rect rect, const Context& parent, const std::string& path);
    void placeNode(Node& node, Rect rect, const Context& parent, const std::string& path);
    void placeContent(Node& node, Rect r, const Context& c, const std::string& path);
    void placeStack(Node& node, Rect r, const Context& c, const std::string& path);
    void placeButton(Node& node, Rect r, const Context& c, const std::string& path);
    void placeButtonLabel(Node& node, Rect r, const Context& c, const std::string& path, Color color);
    void placeToggle(Node& node, Rect r, const Context& c, const std::string& path);
    void placePicker(Node& node, Rect r, const Context& c, const std::string& path);
    void placeStepper(Node& node, Rect r, const Context& c, const std::string& path);
    void placeField(Node& node, Rect r, const Context& c, const std::string& path);
    void placeLabeled(Node& node, Rect r, const Context& c, const std::string& path);
    void placeList(Node& node, Rect r, const Context& c, const std::string& path);
    // A lazy list's row: the one kept for the key the list tells, or built
    // now (keep: it carries that key, and may be kept once placed).
    struct LazyRow {
        std::shared_ptr<Node> node;
        bool keep = false;
    };
    LazyRow lazyRow(const Node& list, std::size_t index, const Context& rc);
    void placeForm(Node& node, Rect r, const Context& c, const std::string& path);
    // The scroller's knob over an area whose content is taller than its viewport.
    void paintScroller(const ScrollArea& area, const Context& c);
    void placeSidebar(Node& node, Rect r, const Context& c, const std::string& path);
    void placeSplit(Node& node, Rect r, const Context& c, const std::string& path);
    void placeToolbar(Node& split, Rect bar, const Context& c, const std::string& path);
    void placeEmptySearch(Node& node, Rect r, const Context& c);
    void placeProgress(Node& node, Rect r, const Context& c);
    void placeLabel(const Node& node, Rect r, const Context& c, std::optional<Color> symbolColor);

    Paint& paint(Paint::Op op, Rect rect, const Context& c);
    PlacedControl& control(Control::Role role, Node& node, Rect frame, const Context& c, const std::string& path,
                           std::string visibleText);
    std::shared_ptr<platform::ui::Image> iconFor(const Node& node);

    void attachFits();

    TextMeasurer& measurer_;
    platform::ui::AppearanceName appearance_;
    const std::map<std::string, double>& offsets_;
    const std::string& focused_;
    std::unordered_map<std::string, std::shared_ptr<platform::ui::Image>>& icons_;
    LayoutResult result_;

    FitCache fits_;
    ReusedLayouts reused_;
    // The sizes identified nodes were asked for, until run attaches them to their regions.
    std::unordered_map<const Node*, std::vector<Region::Fit>> identifiedFits_;
};

// Puts `part`, the result of laying out result.regions[index] again, in the
// place of what that region made before.
void splice(LayoutResult& result, std::size_t index, LayoutResult part);

}  // namespace desktop::ui
