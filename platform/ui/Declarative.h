#pragma once

// The declarative toolkit: a page is a tree of plain values (stacks, texts,
// controls) rebuilt from its model on every change, and a hosting view lays
// that tree out, draws it and routes the pointer and typing to the nodes'
// actions. Sizes are points.
//
// How a node is sized, from the inside out:
//   content  the kind's own size (a text's lines, a stack's children, ...)
//   padding  space added around the content, inside the background
//   frame    fixed, minimum, ideal or maximum sizes for the padded content;
//            `FrameSpec::infinity` as a maximum makes the node take all the
//            room its parent offers along that axis
//   background  fills the frame, with `cornerRadius`
//   margin   space added outside the background
// So a search box with 10 points inside a rounded tint and 20 outside reads
// `hstack(...).padded(10).backed(tint, 8).margined(20)`.
//
// Stacks place their children one after the other with `spacing`; an hstack
// aligns them vertically by `alignment` (top, center, bottom), a vstack
// horizontally (leading, center, trailing). A stack gives its flexible
// children (spacers, text fields, lists, forms, nodes framed to infinity)
// what its fixed children leave; when the room is short, texts wrap (or are
// cut with an ellipsis after `lineLimit` lines) rather than overflow.
//
// Text style (font size, weight, colour, monospaced digits) is inherited:
// set it on a stack and every text inside takes it unless it sets its own.
// A disabled node disables (and dims) everything inside it.
//
// Inside a `form`, toggles, pickers, steppers and labeled content span the
// row: the title on the leading side, the control on the trailing side.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/Color.h"
#include "platform/ui/Font.h"
#include "platform/ui/ShownText.h"
#include "platform/ui/View.h"

namespace platform::ui {

class Image;

namespace declarative {

// The platform's named text sizes.
namespace textSize {
inline constexpr double largeTitle = 26;
inline constexpr double title = 22;
inline constexpr double title2 = 17;
inline constexpr double title3 = 15;
inline constexpr double headline = 13;
inline constexpr double body = 13;
inline constexpr double callout = 12;
inline constexpr double subheadline = 11;
inline constexpr double footnote = 10;
inline constexpr double caption = 10;
inline constexpr double caption2 = 10;
}  // namespace textSize

enum class Kind {
    splitView,    // children: sidebar, detail; toolbar items (buttons) in `toolbar`, detail title in `title`.
                  // The sidebar's frame gives the column's minimum, ideal and maximum width.
    sidebarList,  // children: sidebar rows (labels with a `tag`); `selection` names the selected row's
                  // tag; a click on a row calls `changed` with its tag
    vstack,
    hstack,
    text,
    label,        // `text` with the leading symbol `symbol`
    symbol,       // an SF Symbol glyph alone (`symbol`), sized by the font size
    image,        // `image`, or the workspace icon of the file at `iconPath`; scaled into its frame
    button,       // label: `children` (laid out as an hstack) when it has any, else `symbol` and `text`
    toggle,       // a switch titled `text`, showing `isOn`; a click calls `toggled(!isOn)`
    picker,       // a pop-up button titled `text` over `options`, showing `selection`;
                  // choosing calls `changed` with the option's value
    stepper,      // titled `text`, shows `detail` (or `value` when empty) and up/down arrows;
                  // a step calls `stepped` with the new value, kept within `minimum`...`maximum`
    textField,    // shows `text` or else `placeholder`; typing calls `changed` with the new text.
                  // ButtonStyle::plain draws no bezel.
    list,         // inset list, scrollable; rows are `children`, or `rowCount` rows built on
                  // demand by `rowAt` (only rows in view are built, laid out and drawn).
                  // Every row takes the height of the first.
    form,         // grouped form, scrollable; children are sections
    section,      // a headed group of rows: `header` holds the heading node (zero or one)
    labeledContent,  // `text` on the leading side, the first child on the trailing side
    divider,
    spacer,       // takes the room left along its stack's axis
    progress,     // an indeterminate progress indicator above `text`
    emptySearch,  // the standard no-results view for the query in `text`
};

enum class Alignment { leading, center, trailing, top, bottom };
enum class ButtonStyle {
    automatic,   // bordered push button
    plain,       // the label alone
    borderless,  // the label alone
    prominent,   // filled with the accent colour, white label
};

struct Insets {
    double top = 0, leading = 0, bottom = 0, trailing = 0;
};

// A frame request: unset dimensions follow the content; `infinity` fills.
struct FrameSpec {
    static constexpr double infinity = 1e9;
    std::optional<double> width, height;
    std::optional<double> minWidth, idealWidth, maxWidth;
    std::optional<double> minHeight, maxHeight;
    Alignment alignment = Alignment::center;  // of the content within a larger frame
    bool operator==(const FrameSpec&) const = default;
};

struct Node {
    Kind kind = Kind::vstack;

    // Content.
    std::string text;         // text, label title, button/toggle/picker/stepper title, field value
    std::string symbol;       // SF Symbol name (labels, symbols, buttons with a glyph)
    std::string placeholder;  // text fields
    std::string detail;       // stepper: the value as shown ("5 个"); empty shows the number
    std::string iconPath;     // image: the workspace's icon of this file
    std::shared_ptr<Image> image;
    std::string tag;          // sidebar rows: the selection value they stand for
    std::string title;        // split view: the detail column's title
    // Names the node for HostingView::replace; empty for most nodes.
    std::string id;
    // Names everything the node and the nodes inside it show (texts, images,
    // styles, states, their shape): two nodes with the same key must look and
    // behave alike, so that the layout may place the one as it placed the
    // other, only moved, as a table view reuses a row's cell. The layout adds
    // the room, the inherited style and the appearance. Empty: laid out anew.
    std::string reuseKey;

    // Text style; unset values are inherited from the enclosing nodes
    // (body size, regular weight, the label colour at the top).
    std::optional<double> fontSize;
    std::optional<Font::Weight> weight;
    std::optional<Color> color;
    std::optional<Color> symbolColor;  // labels and symbols: the glyph's own colour
    bool monospacedDigits = false;     // inherited once set
    int lineLimit = 0;                 // 0: wraps as needed; n: at most n lines, then an ellipsis

    // Layout.
    double spacing = 8;
    Alignment alignment = Alignment::center;
    Insets padding;
    Insets margin;
    FrameSpec frame;
    std::optional<Color> background;
    double cornerRadius = 0;

    // Controls.
    ButtonStyle buttonStyle = ButtonStyle::automatic;
    bool disabled = false;
    bool labelHidden = false;                                   // toggles, pickers, steppers
    bool isOn = false;                                          // toggle
    std::string selection;                                      // picker, sidebar list
    std::vector<std::pair<std::string, std::string>> options;  // picker: (value, shown text)
    long long value = 0, minimum = 0, maximum = 0, step = 1;    // stepper
    bool alternatingRows = false;                                // list
    std::string toolTip;
    // What the control is called for accessibility and for `pressControl`;
    // empty: its visible text.
    std::string accessibilityLabel;
    bool accessibilityHidden = false;

    // Actions, invoked on the main thread when the person uses the control.
    std::function<void()> action;                     // button
    std::function<void(bool)> toggled;                // toggle
    std::function<void(const std::string&)> changed;  // picker, text field, sidebar list
    std::function<void(long long)> stepped;           // stepper

    std::vector<Node> children;
    std::vector<Node> header;   // section heading (zero or one node)
    std::vector<Node> toolbar;  // split view toolbar items

    // A list's rows built on demand (see Kind::list).
    std::size_t rowCount = 0;
    std::function<Node(std::size_t)> rowAt;
    // The reuse key the row at an index would carry, told without building
    // the row. A row whose key names a row the hosting view laid out since
    // its tree was last set is not built: that row itself is shown again,
    // actions included, so the key must name everything the row does as
    // well as what it shows. Empty: the row is built.
    std::function<std::string(std::size_t)> rowKeyAt;

    // Modifiers, so that a page reads as a chain.
    Node&& font(double size, Font::Weight w = Font::Weight::regular) && { fontSize = size; weight = w; return std::move(*this); }
    Node&& bold(Font::Weight w = Font::Weight::semibold) && { weight = w; return std::move(*this); }
    Node&& foreground(Color c) && { color = c; return std::move(*this); }
    Node&& symbolTint(Color c) && { symbolColor = c; return std::move(*this); }
    Node&& monospaced() && { monospacedDigits = true; return std::move(*this); }
    // A text cut to what its lines can show keeps the whole text as what it
    // is called for accessibility, unless it is called something else.
    Node&& lines(int limit) && {
        lineLimit = limit;
        if (kind == Kind::text || kind == Kind::label) {
            if (auto shown = cutToWhatLinesCanShow(text, limit)) {
                if (accessibilityLabel.empty()) accessibilityLabel = std::move(text);
                text = std::move(*shown);
            }
        }
        return std::move(*this);
    }
    Node&& padded(Insets insets) && { padding = insets; return std::move(*this); }
    Node&& padded(double all) && { padding = {all, all, all, all}; return std::move(*this); }
    Node&& margined(Insets insets) && { margin = insets; return std::move(*this); }
    Node&& margined(double all) && { margin = {all, all, all, all}; return std::move(*this); }
    Node&& framed(FrameSpec spec) && { frame = spec; return std::move(*this); }
    Node&& framed(std::optional<double> width, std::optional<double> height) && { frame.width = width; frame.height = height; return std::move(*this); }
    // Fills the width (and the height) its parent offers, content aligned.
    Node&& filling(Alignment a = Alignment::center, bool height = false) && {
        frame.maxWidth = FrameSpec::infinity;
        if (height) frame.maxHeight = FrameSpec::infinity;
        frame.alignment = a;
        return std::move(*this);
    }
    Node&& backed(Color c, double radius = 0) && { background = c; cornerRadius = radius; return std::move(*this); }
    Node&& help(std::string tip) && { toolTip = std::move(tip); return std::move(*this); }
    Node&& accessibility(std::string label) && { accessibilityLabel = std::move(label); return std::move(*this); }
    Node&& accessibilityHiddenIf(bool value = true) && { accessibilityHidden = value; return std::move(*this); }
    Node&& disabledIf(bool value) && { disabled = value; return std::move(*this); }
    Node&& styled(ButtonStyle style) && { buttonStyle = style; return std::move(*this); }
    Node&& hideLabel(bool value = true) && { labelHidden = value; return std::move(*this); }
    Node&& tagged(std::string value) && { tag = std::move(value); return std::move(*this); }
    Node&& aligned(Alignment a) && { alignment = a; return std::move(*this); }
    Node&& spaced(double value) && { spacing = value; return std::move(*this); }
    Node&& identified(std::string name) && { id = std::move(name); return std::move(*this); }
    Node&& reusable(std::string key) && { reuseKey = std::move(key); return std::move(*this); }
    // A lazy list whose rows tell their reuse keys before they are built (see rowKeyAt).
    Node&& keyedRows(std::function<std::string(std::size_t)> keyAt) && { rowKeyAt = std::move(keyAt); return std::move(*this); }
};

// Children moved into their list: a braced list of nodes would copy each one
// (an initializer list holds constants), which a page built on every
// keystroke feels.
template <typename... Nodes>
std::vector<Node> nodes(Nodes&&... each) {
    std::vector<Node> out;
    out.reserve(sizeof...(each));
    (out.push_back(std::forward<Nodes>(each)), ...);
    return out;
}

// Builders, one per kind, so that a page reads like the view it describes.
inline Node vstack(std::vector<Node> children, double spacing = 8, Alignment alignment = Alignment::center) {
    Node n; n.kind = Kind::vstack; n.children = std::move(children); n.spacing = spacing; n.alignment = alignment; return n;
}
inline Node hstack(std::vector<Node> children, double spacing = 8, Alignment alignment = Alignment::center) {
    Node n; n.kind = Kind::hstack; n.children = std::move(children); n.spacing = spacing; n.alignment = alignment; return n;
}
inline Node text(std::string value) { Node n; n.kind = Kind::text; n.text = std::move(value); return n; }
inline Node label(std::string title, std::string symbolName) {
    Node n; n.kind = Kind::label; n.text = std::move(title); n.symbol = std::move(symbolName); return n;
}
inline Node symbol(std::string name) { Node n; n.kind = Kind::symbol; n.symbol = std::move(name); return n; }
inline Node image(std::shared_ptr<Image> picture) { Node n; n.kind = Kind::image; n.image = std::move(picture); return n; }
inline Node fileIcon(std::string path) { Node n; n.kind = Kind::image; n.iconPath = std::move(path); return n; }
// A push button titled `title` (with the glyph `symbolName` before it when given).
inline Node button(std::string title, std::function<void()> action, std::string symbolName = {}) {
    Node n; n.kind = Kind::button; n.text = std::move(title); n.symbol = std::move(symbolName); n.action = std::move(action); return n;
}
// A button whose label is the given nodes (an icon and texts, a glyph in a frame ...).
inline Node button(std::vector<Node> labelNodes, std::function<void()> action) {
    Node n; n.kind = Kind::button; n.children = std::move(labelNodes); n.action = std::move(action); return n;
}
inline Node toggle(std::string title, bool isOn, std::function<void(bool)> toggled) {
    Node n; n.kind = Kind::toggle; n.text = std::move(title); n.isOn = isOn; n.toggled = std::move(toggled); return n;
}
inline Node picker(std::string title, std::string selection, std::vector<std::pair<std::string, std::string>> options,
                   std::function<void(const std::string&)> changed) {
    Node n; n.kind = Kind::picker; n.text = std::move(title); n.selection = std::move(selection);
    n.options = std::move(options); n.changed = std::move(changed); return n;
}
inline Node stepper(std::string title, long long value, long long minimum, long long maximum, std::function<void(long long)> stepped,
                    std::string shownValue = {}, long long step = 1) {
    Node n; n.kind = Kind::stepper; n.text = std::move(title); n.value = value; n.minimum = minimum; n.maximum = maximum;
    n.step = step; n.stepped = std::move(stepped); n.detail = std::move(shownValue); return n;
}
inline Node textField(std::string placeholder, std::string value, std::function<void(const std::string&)> changed) {
    Node n; n.kind = Kind::textField; n.placeholder = std::move(placeholder); n.text = std::move(value);
    n.changed = std::move(changed); return n;
}
inline Node list(std::vector<Node> rows, bool alternatingRows = true) {
    Node n; n.kind = Kind::list; n.children = std::move(rows); n.alternatingRows = alternatingRows; return n;
}
// A list of `count` rows of which only those in view are ever built.
inline Node lazyList(std::size_t count, std::function<Node(std::size_t)> rowAt, bool alternatingRows = true) {
    Node n; n.kind = Kind::list; n.rowCount = count; n.rowAt = std::move(rowAt); n.alternatingRows = alternatingRows; return n;
}
inline Node form(std::vector<Node> sections) { Node n; n.kind = Kind::form; n.children = std::move(sections); return n; }
inline Node section(std::optional<Node> heading, std::vector<Node> rows) {
    Node n; n.kind = Kind::section; n.children = std::move(rows);
    if (heading) n.header.push_back(std::move(*heading));
    return n;
}
inline Node labeledContent(std::string title, Node content) {
    Node n; n.kind = Kind::labeledContent; n.text = std::move(title); n.children.push_back(std::move(content)); return n;
}
inline Node divider() { Node n; n.kind = Kind::divider; return n; }
inline Node spacer() { Node n; n.kind = Kind::spacer; return n; }
inline Node progress(std::string caption) { Node n; n.kind = Kind::progress; n.text = std::move(caption); return n; }
inline Node emptySearch(std::string query) { Node n; n.kind = Kind::emptySearch; n.text = std::move(query); return n; }
inline Node sidebarList(std::vector<Node> rows, std::string selection, std::function<void(const std::string&)> changed) {
    Node n; n.kind = Kind::sidebarList; n.children = std::move(rows); n.selection = std::move(selection);
    n.changed = std::move(changed); return n;
}
inline Node splitView(Node sidebar, Node detail, std::string detailTitle, std::vector<Node> toolbarItems) {
    Node n; n.kind = Kind::splitView; n.children.push_back(std::move(sidebar)); n.children.push_back(std::move(detail));
    n.title = std::move(detailTitle); n.toolbar = std::move(toolbarItems); return n;
}

// A control as laid out, for tests and for driving the page like a person.
struct Control {
    enum class Role { button, toggle, picker, stepper, textField, sidebarRow, toolbarItem };
    Role role = Role::button;
    std::string text;                // the visible text (a field's value or placeholder)
    std::string accessibilityLabel;  // as set on the node, else the visible text
    std::string toolTip;
    Rect frame;                      // in the hosting view, bottom-left origin; the part in view
    bool enabled = true;
    bool isOn = false;               // toggles
    bool selected = false;           // sidebar rows
    bool focused = false;            // text fields
    std::string selection;           // pickers: the value shown
    long long value = 0;             // steppers
    bool canIncrement = false, canDecrement = false;  // steppers
};

// The answer to driving a control by its name.
enum class Outcome { done, notFound, disabled, noSuchOption, atLimit };

}  // namespace declarative

// A view that hosts a declarative tree: lays it out in its bounds, draws it,
// and turns clicks, scrolling and typing into the nodes' actions. Each control
// in view is a subview carrying the node's tool tip and accessibility label.
// setRoot replaces the whole tree; the focused text field and scroll
// positions are kept by the position of the node in the tree. replace swaps
// one identified node and lays out only that node again, as a view whose
// frame its content does not decide is laid out alone.
//
// A split view root draws the window's unified toolbar row (52 points) across
// the top: the detail title, the toolbar items at the trailing end, and
// room for the window's buttons over the sidebar.
class HostingView : public View {
public:
    static std::shared_ptr<HostingView> create(Rect frame = {});

    virtual void setRoot(declarative::Node root) = 0;
    virtual const declarative::Node& root() const = 0;
    // Puts `node` in the place of the laid-out node whose id is `id` and marks
    // only it for layout, in the room the old one had. It does so only when
    // the new node would be given the same room: it answers every size the
    // layout around it asked of the old one the same way, fills the same
    // directions and has the same frame. Otherwise (or when no laid-out node
    // has that id, or the whole tree is due for layout) it changes nothing
    // and answers false, and setRoot is the way.
    virtual bool replace(const std::string& id, declarative::Node node) = 0;
    // How many times the tree was laid out anew (setRoot, a resize or a scroll).
    virtual long long layoutCount() const = 0;
    // How many times identified nodes alone were laid out again after replace.
    virtual long long partialLayoutCount() const = 0;
    // Lays out now what setRoot or a resize left pending (drawing, hit-testing
    // and the queries below do it themselves).
    virtual void layoutIfNeeded() = 0;

    // The controls in view, in the order of the tree (sidebar, toolbar, detail).
    virtual std::vector<declarative::Control> controls() = 0;
    // How many list rows the last layout (of the tree or of replaced nodes)
    // placed, and the last draw drew.
    virtual std::size_t listRowsLaidOut() const = 0;
    // How many rows of lazy lists the last layout built with `rowAt`; the
    // others it placed were rows laid out before, named by `rowKeyAt`.
    virtual std::size_t listRowsBuilt() const = 0;
    virtual std::size_t listRowsDrawn() const = 0;
    // How many nodes with a reuse key the last layout placed from an earlier
    // layout of the same content instead of laying them out.
    virtual std::size_t subtreesReused() const = 0;
    // Forgets the laid-out nodes kept by reuse key, so that the next layout
    // lays every node out anew and builds every row. setRoot forgets the rows
    // kept for rowKeyAt (their actions belong to the tree before it) but
    // keeps their layouts.
    virtual void discardReusedLayouts() = 0;

    // Driving it like a person. A control is named by its visible text or
    // accessibility label; the first enabled one in tree order counts, and it
    // is scrolled into view first (rows of lazy lists included).
    // pressControl clicks a button, toggle, sidebar row or toolbar item,
    // focuses a text field, or pops up a picker's options as a menu (chosen
    // then like any menu item); false when nothing enabled matched. A text
    // field is also named by its placeholder.
    virtual bool pressControl(const std::string& label) = 0;
    virtual declarative::Outcome press(const std::string& label) = 0;
    // Chooses the option (by shown text or value) of the picker so named.
    virtual declarative::Outcome pick(const std::string& label, const std::string& option) = 0;
    // Steps the stepper so named one step up (+1) or down (-1).
    virtual declarative::Outcome stepControl(const std::string& label, int direction) = 0;
    // Types into the focused text field (false when none has focus or the
    // text is not valid UTF-8).
    virtual bool typeText(const std::string& text) = 0;
    // Deletes the last `count` characters of the focused text field, as the
    // delete key does (false when none has focus); an empty field stays empty.
    virtual bool deleteBackward(int count) = 0;

protected:
    using View::View;
};

}  // namespace platform::ui
