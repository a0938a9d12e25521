#pragma once

// The declarative toolkit: a page is a tree of plain values (stacks, texts,
// controls) rebuilt from its model on every change, and a hosting view lays
// that tree out, draws it and routes the pointer and typing to the nodes'
// actions. Sizes are points.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/Color.h"
#include "platform/ui/Font.h"
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
    splitView,    // children: sidebar, detail; toolbar items in `toolbar`, detail title in `title`
    sidebarList,  // children: sidebar rows (labels); `selection` names the selected row's `tag`
    vstack,
    hstack,
    text,
    label,        // a text with a leading symbol
    symbol,       // an SF Symbol glyph alone
    image,        // `image`, or the workspace icon of the file at `iconPath`
    button,
    toggle,
    picker,
    stepper,
    textField,
    list,         // inset list; children are rows
    form,         // grouped form; children are sections
    section,      // a headed group: `header` holds the heading node
    labeledContent,  // `text` on the leading side, the child on the trailing side
    divider,
    spacer,
    progress,     // an indeterminate progress indicator with `text` beside it
    emptySearch,  // the standard no-results view for the query in `text`
};

enum class Alignment { leading, center, trailing, top, bottom };
enum class ButtonStyle { automatic, plain, borderless, prominent };

struct Insets {
    double top = 0, leading = 0, bottom = 0, trailing = 0;
};

// A frame request: unset dimensions follow the content; `infinity` fills.
struct FrameSpec {
    static constexpr double infinity = 1e9;
    std::optional<double> width, height;
    std::optional<double> minWidth, idealWidth, maxWidth;
    std::optional<double> minHeight, maxHeight;
    Alignment alignment = Alignment::center;
};

struct Node {
    Kind kind = Kind::vstack;

    // Content.
    std::string text;         // text, label title, button/toggle/picker/stepper title, field value
    std::string symbol;       // SF Symbol name (labels, symbols, buttons with a glyph)
    std::string placeholder;  // text fields
    std::string iconPath;     // image: the workspace's icon of this file
    std::shared_ptr<Image> image;
    std::string tag;          // sidebar rows: the selection value they stand for
    std::string title;        // split view: the detail column's title

    // Text style.
    double fontSize = textSize::body;
    Font::Weight weight = Font::Weight::regular;
    std::optional<Color> color;  // nothing: the label colour
    std::optional<Color> symbolColor;
    bool monospacedDigits = false;
    int lineLimit = 0;  // 0: wraps as needed

    // Layout.
    double spacing = 8;
    Alignment alignment = Alignment::center;
    Insets padding;
    FrameSpec frame;
    std::optional<Color> background;
    double cornerRadius = 0;

    // Controls.
    ButtonStyle buttonStyle = ButtonStyle::automatic;
    bool disabled = false;
    bool labelHidden = false;
    bool isOn = false;                                          // toggle
    std::string selection;                                      // picker, sidebar list
    std::vector<std::pair<std::string, std::string>> options;  // picker: (value, shown text)
    long long value = 0, minimum = 0, maximum = 0, step = 1;    // stepper
    bool alternatingRows = false;                                // list
    std::string toolTip;
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

    // Modifiers, so that a page reads as a chain.
    Node&& font(double size, Font::Weight w = Font::Weight::regular) && { fontSize = size; weight = w; return std::move(*this); }
    Node&& foreground(Color c) && { color = c; return std::move(*this); }
    Node&& padded(Insets insets) && { padding = insets; return std::move(*this); }
    Node&& padded(double all) && { padding = {all, all, all, all}; return std::move(*this); }
    Node&& framed(FrameSpec spec) && { frame = spec; return std::move(*this); }
    Node&& backed(Color c, double radius = 0) && { background = c; cornerRadius = radius; return std::move(*this); }
    Node&& help(std::string tip) && { toolTip = std::move(tip); return std::move(*this); }
    Node&& accessibility(std::string label) && { accessibilityLabel = std::move(label); return std::move(*this); }
    Node&& disabledIf(bool value) && { disabled = value; return std::move(*this); }
    Node&& styled(ButtonStyle style) && { buttonStyle = style; return std::move(*this); }
};

}  // namespace declarative

// A view that hosts a declarative tree: lays it out in its bounds, draws it,
// and turns clicks and typing into the nodes' actions. setRoot replaces the
// whole tree; the focused text field and scroll positions are kept by the
// position of the node in the tree.
class HostingView : public View {
public:
    static std::shared_ptr<HostingView> create(Rect frame = {});

    virtual void setRoot(declarative::Node root) = 0;
    virtual const declarative::Node& root() const = 0;
    // How many times the tree was laid out anew (setRoot or a resize).
    virtual long long layoutCount() const = 0;

    // Driving it like a person: clicks the first enabled control whose
    // visible text or accessibility label equals `label` (scrolling it into
    // view first), or types into the focused text field. False when nothing
    // matched.
    virtual bool pressControl(const std::string& label) = 0;
    virtual bool typeText(const std::string& text) = 0;

protected:
    using View::View;
};

}  // namespace platform::ui
