// Laying out one identified node again, as the platform lays out only the
// views marked as needing it: when a replacement answers the layout around it
// as its predecessor did, everything around it stays where it was, so only
// the node is placed again and its part of the display list, controls and
// scrollable areas is exchanged for the new one.

#include "desktop/ui/DeclarativeLayout.h"

#include <algorithm>
#include <iterator>

#include "desktop/ui/LayoutArithmetic.h"

namespace desktop::ui {

using namespace layout;

bool DeclarativeLayout::takesSameRoom(const Region& region, const Node& node) {
    const Node& old = *region.node;
    if (!(node.frame == old.frame) || (node.kind == Kind::divider) != (old.kind == Kind::divider)) return false;
    if (flexibleWidth(node, region.context) != flexibleWidth(old, region.context) ||
        flexibleHeight(node, region.context) != flexibleHeight(old, region.context))
        return false;
    fits_.clear();
    bool same = true;
    for (const Region::Fit& asked : region.fits) {
        Size answer = fit(node, asked.width, asked.context);
        if (answer.width != asked.size.width || answer.height != asked.size.height) {
            same = false;
            break;
        }
    }
    // The sizes were asked of a node that is not in the tree yet.
    fits_.clear();
    identifiedFits_.clear();
    return same;
}

namespace {

bool inside(const std::string& path, const std::string& outer) {
    return path.size() > outer.size() && path.compare(0, outer.size(), outer) == 0 && path[outer.size()] == '.';
}

// Exchanges items [span.begin, span.end) of `into` for `from`.
template <typename T>
void exchange(std::vector<T>& into, Region::Span span, std::vector<T>& from) {
    if (from.size() == span.end - span.begin) {
        std::move(from.begin(), from.end(), into.begin() + static_cast<std::ptrdiff_t>(span.begin));
        return;
    }
    auto at = into.erase(into.begin() + static_cast<std::ptrdiff_t>(span.begin), into.begin() + static_cast<std::ptrdiff_t>(span.end));
    into.insert(at, std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

// A span placed after the exchanged one moves by delta; one around it grows by it.
void shift(Region::Span& span, std::ptrdiff_t delta, bool around, bool after) {
    if (around) {
        span.end = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(span.end) + delta);
    } else if (after) {
        span.begin = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(span.begin) + delta);
        span.end = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(span.end) + delta);
    }
}

std::ptrdiff_t growth(Region::Span old, std::size_t now) {
    return static_cast<std::ptrdiff_t>(now) - static_cast<std::ptrdiff_t>(old.end - old.begin);
}

}  // namespace

void splice(LayoutResult& result, std::size_t index, LayoutResult part) {
    // What is needed of the region given way to, taken out of it: it leaves the list below.
    struct Replaced {
        Region::Span paints, controls, scrollAreas;
        std::string path;
        std::vector<Region::Fit> fits;
    };
    Region& replaced = result.regions[index];
    Replaced old{replaced.paints, replaced.controls, replaced.scrollAreas, std::move(replaced.path), std::move(replaced.fits)};
    const std::ptrdiff_t paintDelta = growth(old.paints, part.paints.size());
    const std::ptrdiff_t controlDelta = growth(old.controls, part.controls.size());
    const std::ptrdiff_t areaDelta = growth(old.scrollAreas, part.scrollAreas.size());
    exchange(result.paints, old.paints, part.paints);
    exchange(result.controls, old.controls, part.controls);
    exchange(result.scrollAreas, old.scrollAreas, part.scrollAreas);

    // The regions inside the old node give way to those of the new one,
    // placed where the old one's part began.
    std::vector<Region> regions;
    regions.reserve(result.regions.size() + part.regions.size());
    for (std::size_t i = 0; i < result.regions.size(); ++i) {
        Region& r = result.regions[i];
        if (i == index) {
            for (Region& fresh : part.regions) {
                fresh.paints = {fresh.paints.begin + old.paints.begin, fresh.paints.end + old.paints.begin};
                fresh.controls = {fresh.controls.begin + old.controls.begin, fresh.controls.end + old.controls.begin};
                fresh.scrollAreas = {fresh.scrollAreas.begin + old.scrollAreas.begin, fresh.scrollAreas.end + old.scrollAreas.begin};
                // The layout around the node did not ask again; it gave the old answers, so they stay its answers.
                if (fresh.path == old.path) fresh.fits = std::move(old.fits);
                regions.push_back(std::move(fresh));
            }
            continue;
        }
        if (inside(r.path, old.path)) continue;
        const bool around = inside(old.path, r.path), after = i > index;
        shift(r.paints, paintDelta, around, after);
        shift(r.controls, controlDelta, around, after);
        shift(r.scrollAreas, areaDelta, around, after);
        regions.push_back(std::move(r));
    }
    result.regions = std::move(regions);

    std::erase_if(result.builtRows, [&](const BuiltRows& rows) { return rows.listPath == old.path || inside(rows.listPath, old.path); });
    std::move(part.builtRows.begin(), part.builtRows.end(), std::back_inserter(result.builtRows));
}

}  // namespace desktop::ui
