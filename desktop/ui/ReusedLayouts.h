#pragma once

// Laid-out subtrees kept by the reuse key their page gave them, as a table
// view keeps a row's cell: a node that shows the same content in the same
// room and style as before makes the same paints and controls, only moved,
// so the layout can place it again by translating what it made the last time
// instead of sizing and placing every node inside it. The controls are bound
// to the nodes of the tree being laid out, so their actions are the new ones.
// Kept per appearance (an engine lays out for one) and bounded: two
// generations of entries, the older dropped when the newer fills.
//
// A list row whose layout is kept is kept itself too, so that a lazy list
// that tells a row's key before building it (Node::rowKeyAt) shows the kept
// row instead of building an equal one; its actions are those it was built
// with, which the key vouches for, until the rows are forgotten.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "desktop/ui/LayoutResult.h"
#include "platform/ui/Appearance.h"

namespace desktop::ui {

class ReusedLayouts {
public:
    // How much of a layout's result there was before a node was placed.
    struct Marks {
        std::size_t paints = 0, controls = 0, scrollAreas = 0, regions = 0;
        bool hasToolbar = false;
    };
    static Marks marks(const LayoutResult& result);

    static constexpr std::size_t generationCapacity = 256;

    explicit ReusedLayouts(platform::ui::AppearanceName appearance) : appearance_(appearance) {}

    // The size the node with this key answered for `width` in the same style.
    std::optional<Size> fitted(const Node& node, double width, const LayoutContext& parent);
    void keepFit(const Node& node, double width, const LayoutContext& parent, Size size);

    // Appends to `into` what the node made when it was last placed in a
    // rectangle of this size in the same style, moved to `rect`; false when
    // nothing so placed is kept.
    bool replay(Node& node, Rect rect, const LayoutContext& parent, const std::string& path, LayoutResult& into);
    // Keeps what placing the node at `rect` appended to `made` since `before`,
    // unless it depends on more than the node's content and room: scrollable
    // areas, identified nodes, text fields (focus follows the path), sidebars
    // or clipping of its own.
    void keep(Node& node, Rect rect, const LayoutContext& parent, const std::string& path, const LayoutResult& made,
              const Marks& before);

    // The row kept under this key for rows placed in this style, if any.
    std::shared_ptr<Node> keptRow(const std::string& key, const LayoutContext& parent);
    // Keeps a row just placed in this style under its key, when its layout
    // was kept: a row whose layout depends on more than its content (a text
    // field, a scrollable area) is built every time.
    void keepRow(std::shared_ptr<Node> row, const LayoutContext& parent);
    // Forgets the kept rows and what their actions hold; the layouts stay.
    void forgetRows();

    void clear();
    std::size_t size() const { return current_.size() + previous_.size(); }

private:
    struct KeptControl {
        PlacedControl placed;       // node and path left empty
        std::size_t nodeIndex = 0;  // the control's node, in the subtree's preorder
        platform::ui::declarative::Kind kind = platform::ui::declarative::Kind::vstack;
        std::string pathSuffix;     // its path after the subtree's own
    };
    struct Placement {
        Rect rect;
        std::vector<Paint> paints;
        std::vector<KeptControl> controls;
    };
    struct Entry {
        LayoutContext context;
        std::vector<std::pair<double, Size>> fits;
        std::optional<Placement> placement;
        std::shared_ptr<Node> row;
        std::vector<Node*> rowNodes;  // the row's nodes in preorder
    };

    bool sameStyle(const LayoutContext& a, const LayoutContext& b) const;
    Entry* find(const std::string& key, const LayoutContext& parent);
    Entry& entryFor(const std::string& key, const LayoutContext& parent);

    platform::ui::AppearanceName appearance_;
    std::unordered_map<std::string, Entry> current_, previous_;
    // The entry of the newer generation found last; it moves with its map.
    std::pair<const std::string, Entry>* last_ = nullptr;
    // The nodes of the subtree being kept or replayed, in preorder.
    std::vector<Node*> preorder_;
};

}  // namespace desktop::ui
