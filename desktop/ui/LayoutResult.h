#pragma once

// What laying out a declarative tree records: the display list, the controls
// as placed, the scrollable areas and the identified nodes, and the inherited
// context a node is laid out in.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Declarative.h"

namespace platform::ui { class Image; }

namespace desktop::ui {

using platform::Rect;
using platform::Size;
using platform::ui::Color;
using platform::ui::Font;
using platform::ui::declarative::Control;
using platform::ui::declarative::Node;

// One thing to draw, in the hosting view's coordinates (top-left origin here;
// the view turns them over when it draws).
struct Paint {
    enum class Op {
        fill,          // rect, colour, radius
        stroke,        // rect, colour, radius (hairline)
        text,          // text, font, colour, lines, centered
        symbol,        // symbol name, colour
        image,         // image, fitted into rect
        bezel,         // a push button's bezel
        prominentBezel,
        switchControl, // on
        popUp,         // text: the option shown
        stepper,       // canIncrement, canDecrement
        field,         // text (value or placeholder), placeholder flag, plain, focused
        spinner,
        rowMarker,     // a list row in view (draws nothing; counted)
    };
    Op op = Op::fill;
    Rect rect;
    Rect clip;
    std::string text;
    Font font;
    Color color = Color::label();
    int lines = 0;
    bool centered = false;
    double radius = 0;
    std::shared_ptr<platform::ui::Image> image;
    bool on = false;       // switch; field: showing the placeholder
    bool enabled = true;
    bool focused = false;  // field
    bool plain = false;    // field
    bool canIncrement = false, canDecrement = false;
    double alpha = 1;
};

// A control as placed: what the public Control says plus where it lives.
struct PlacedControl {
    Control info;       // frame: the whole control, top-left origin (not yet clipped)
    Rect clip;          // the scrollable area around it, or the view
    Node* node = nullptr;
    Node* owner = nullptr;   // sidebar rows: the sidebar list whose `changed` they call
    std::string path;   // the node's position in the tree
    std::string scrollPath;  // the scrollable area it lies in, if any
    Rect upArrow, downArrow; // steppers
    std::string placeholder;  // text fields
};

struct ScrollArea {
    std::string path;
    Rect viewport;        // top-left origin
    double contentHeight = 0;
    double offset = 0;
    // Lists: how to find a row that is not built.
    Node* list = nullptr;
    double rowHeight = 0;
    double rowsTop = 0;  // content offset of the first row
};

// The inherited style and context of a node being laid out.
struct LayoutContext {
    double fontSize = 13;
    Font::Weight weight = Font::Weight::regular;
    std::optional<Color> color;
    std::optional<Color> symbolColor;
    bool mono = false;
    bool disabled = false;
    bool inForm = false;
    enum class Axis { none, horizontal, vertical } axis = Axis::none;
    Rect clip;
    std::string scrollPath;

    // The same context for children laid out along axis.
    LayoutContext along(Axis stackAxis) const {
        LayoutContext inside = *this;
        inside.axis = stackAxis;
        return inside;
    }
};

// A node with an id as it was laid out: where, with what around it, the
// answers it gave the layout around it, and the part of the result it made
// (paints, controls and scrollable areas from `begin` up to `end`).
struct Region {
    struct Span {
        std::size_t begin = 0, end = 0;
    };
    struct Fit {
        double width = 0;
        LayoutContext context;
        Size size;
    };
    std::string id;
    Node* node = nullptr;
    std::string path;
    Rect rect;              // offered to the node, margins included
    LayoutContext context;  // its parent's
    Span paints, controls, scrollAreas;
    std::vector<Fit> fits;
};

// The rows a lazy list built or took from an earlier layout, held while the
// layout that placed them is used: its controls point into them.
struct BuiltRows {
    std::string listPath;
    std::vector<std::shared_ptr<Node>> rows;
};

struct LayoutResult {
    std::vector<Paint> paints;
    std::vector<PlacedControl> controls;
    std::vector<ScrollArea> scrollAreas;
    // Identified nodes, in the order they were placed (a node before the nodes inside it).
    std::vector<Region> regions;
    // Rows of lazy lists, one entry per list placed.
    std::vector<BuiltRows> builtRows;
    std::size_t rowsLaidOut = 0;
    // Of those, rows built by the list's rowAt rather than kept by key.
    std::size_t rowsBuilt = 0;
    // Nodes with a reuse key placed from an earlier layout of the same content, moved.
    std::size_t subtreesReused = 0;
    bool hasToolbar = false;
};

}  // namespace desktop::ui
