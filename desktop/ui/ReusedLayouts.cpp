#include "desktop/ui/ReusedLayouts.h"

#include <algorithm>

namespace desktop::ui {

namespace {

constexpr std::size_t fitsKept = 4;

void preorder(Node& node, std::vector<Node*>& out) {
    out.push_back(&node);
    for (Node& child : node.children) preorder(child, out);
    for (Node& heading : node.header) preorder(heading, out);
    for (Node& item : node.toolbar) preorder(item, out);
}

bool sameColor(const std::optional<Color>& a, const std::optional<Color>& b, platform::ui::AppearanceName appearance) {
    if (a.has_value() != b.has_value()) return false;
    return !a || a->resolved(appearance) == b->resolved(appearance);
}

Rect moved(Rect r, double dx, double dy) { return {r.minX() + dx, r.minY() + dy, r.width(), r.height()}; }

}  // namespace

ReusedLayouts::Marks ReusedLayouts::marks(const LayoutResult& result) {
    return {result.paints.size(), result.controls.size(), result.scrollAreas.size(), result.regions.size(), result.hasToolbar};
}

bool ReusedLayouts::sameStyle(const LayoutContext& a, const LayoutContext& b) const {
    return a.fontSize == b.fontSize && a.weight == b.weight && a.mono == b.mono && a.disabled == b.disabled &&
           a.inForm == b.inForm && a.axis == b.axis && sameColor(a.color, b.color, appearance_) &&
           sameColor(a.symbolColor, b.symbolColor, appearance_);
}

ReusedLayouts::Entry* ReusedLayouts::find(const std::string& key, const LayoutContext& parent) {
    // A row asks for its key when it is taken, sized and placed, one after the other.
    if (last_ && last_->first == key) return sameStyle(last_->second.context, parent) ? &last_->second : nullptr;
    auto found = current_.find(key);
    if (found == current_.end()) {
        auto older = previous_.find(key);
        if (older == previous_.end() || !sameStyle(older->second.context, parent)) return nullptr;
        Entry entry = std::move(older->second);
        previous_.erase(older);
        Entry& promoted = entryFor(key, parent);
        promoted = std::move(entry);
        return &promoted;
    }
    last_ = &*found;
    return sameStyle(found->second.context, parent) ? &found->second : nullptr;
}

// The entry for the key in this style, made anew when there is none or it was kept for another style.
ReusedLayouts::Entry& ReusedLayouts::entryFor(const std::string& key, const LayoutContext& parent) {
    if (auto found = current_.find(key); found != current_.end()) {
        if (!sameStyle(found->second.context, parent)) found->second = Entry{parent, {}, std::nullopt, nullptr, {}};
        last_ = &*found;
        return found->second;
    }
    if (current_.size() >= generationCapacity) {
        previous_ = std::move(current_);
        current_.clear();
    }
    previous_.erase(key);
    last_ = &*current_.emplace(key, Entry{parent, {}, std::nullopt, nullptr, {}}).first;
    return last_->second;
}

std::optional<Size> ReusedLayouts::fitted(const Node& node, double width, const LayoutContext& parent) {
    Entry* entry = find(node.reuseKey, parent);
    if (!entry) return std::nullopt;
    for (const auto& [asked, size] : entry->fits)
        if (asked == width) return size;
    return std::nullopt;
}

void ReusedLayouts::keepFit(const Node& node, double width, const LayoutContext& parent, Size size) {
    Entry& entry = entryFor(node.reuseKey, parent);
    if (entry.fits.size() >= fitsKept) entry.fits.erase(entry.fits.begin());
    entry.fits.emplace_back(width, size);
}

bool ReusedLayouts::replay(Node& node, Rect rect, const LayoutContext& parent, const std::string& path, LayoutResult& into) {
    Entry* entry = find(node.reuseKey, parent);
    if (!entry || !entry->placement || entry->placement->rect.size != rect.size) return false;
    const Placement& kept = *entry->placement;
    // The row kept under the key is the node itself when a list took it by key.
    const bool keptRow = entry->row.get() == &node;
    if (!keptRow) {
        preorder_.clear();
        preorder(node, preorder_);
    }
    const std::vector<Node*>& nodes = keptRow ? entry->rowNodes : preorder_;
    // A node whose tree is not shaped as the kept one's is laid out anew.
    for (const KeptControl& control : kept.controls)
        if (control.nodeIndex >= nodes.size() || nodes[control.nodeIndex]->kind != control.kind) return false;

    const double dx = rect.minX() - kept.rect.minX(), dy = rect.minY() - kept.rect.minY();
    for (const Paint& paint : kept.paints) {
        Paint& p = into.paints.emplace_back(paint);
        p.rect = moved(p.rect, dx, dy);
        p.clip = parent.clip;
    }
    for (const KeptControl& control : kept.controls) {
        PlacedControl& pc = into.controls.emplace_back(control.placed);
        pc.info.frame = moved(pc.info.frame, dx, dy);
        pc.upArrow = moved(pc.upArrow, dx, dy);
        pc.downArrow = moved(pc.downArrow, dx, dy);
        pc.clip = parent.clip;
        pc.scrollPath = parent.scrollPath;
        pc.node = nodes[control.nodeIndex];
        pc.path = path + control.pathSuffix;
    }
    return true;
}

void ReusedLayouts::keep(Node& node, Rect rect, const LayoutContext& parent, const std::string& path, const LayoutResult& made,
                         const Marks& before) {
    if (made.scrollAreas.size() != before.scrollAreas || made.regions.size() != before.regions ||
        made.hasToolbar != before.hasToolbar)
        return;
    for (std::size_t i = before.paints; i < made.paints.size(); ++i)
        if (!(made.paints[i].clip == parent.clip)) return;
    std::vector<Node*>& nodes = preorder_;
    nodes.clear();
    preorder(node, nodes);
    Placement placement;
    placement.rect = rect;
    for (std::size_t i = before.controls; i < made.controls.size(); ++i) {
        const PlacedControl& pc = made.controls[i];
        if (!(pc.clip == parent.clip) || pc.scrollPath != parent.scrollPath || pc.owner ||
            pc.info.role == Control::Role::textField || pc.path.compare(0, path.size(), path) != 0)
            return;
        auto at = std::find(nodes.begin(), nodes.end(), pc.node);
        if (at == nodes.end()) return;
        KeptControl control{pc, static_cast<std::size_t>(at - nodes.begin()), pc.node->kind, pc.path.substr(path.size())};
        control.placed.node = nullptr;
        control.placed.path.clear();
        placement.controls.push_back(std::move(control));
    }
    placement.paints.assign(made.paints.begin() + static_cast<std::ptrdiff_t>(before.paints), made.paints.end());
    entryFor(node.reuseKey, parent).placement = std::move(placement);
}

std::shared_ptr<Node> ReusedLayouts::keptRow(const std::string& key, const LayoutContext& parent) {
    Entry* entry = find(key, parent);
    return entry && entry->placement ? entry->row : nullptr;
}

void ReusedLayouts::keepRow(std::shared_ptr<Node> row, const LayoutContext& parent) {
    Entry* entry = find(row->reuseKey, parent);
    if (!entry || !entry->placement) return;
    entry->rowNodes.clear();
    preorder(*row, entry->rowNodes);
    entry->row = std::move(row);
}

void ReusedLayouts::forgetRows() {
    for (auto* generation : {&current_, &previous_})
        for (auto& [key, entry] : *generation) {
            entry.row.reset();
            entry.rowNodes.clear();
        }
}

void ReusedLayouts::clear() {
    last_ = nullptr;
    current_.clear();
    previous_.clear();
}

}  // namespace desktop::ui
