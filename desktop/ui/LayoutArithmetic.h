#pragma once

// The small arithmetic the declarative layout shares between its files:
// alignment of a box in a rectangle, insets, and caps that keep absurd
// sizes from overflowing.

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "desktop/ui/DeclarativeLayout.h"
#include "platform/ui/Declarative.h"

namespace desktop::ui::layout {


using platform::ui::declarative::Alignment;
using platform::ui::declarative::ButtonStyle;
using platform::ui::declarative::FrameSpec;
using platform::ui::declarative::Insets;
using platform::ui::declarative::Kind;
using Role = Control::Role;
using Axis = DeclarativeLayout::Context::Axis;

inline constexpr double unbounded = std::numeric_limits<double>::infinity();
// Icons of files that give no size of their own are shown this big.
inline constexpr double defaultIconSide = 32;
// Caps on what a page can ask for, so that absurd values cannot overflow the arithmetic.
inline constexpr double largestLength = 1e6;

inline bool finite(double v) { return std::isfinite(v) && v < FrameSpec::infinity / 2; }
inline bool isInfinite(const std::optional<double>& v) { return v && !(*v < FrameSpec::infinity / 2); }
inline double sane(double v) { return std::isfinite(v) ? std::clamp(v, 0.0, largestLength) : 0.0; }
inline double horizontal(const Insets& i) { return sane(i.leading) + sane(i.trailing); }
inline double vertical(const Insets& i) { return sane(i.top) + sane(i.bottom); }

inline Rect inset(Rect r, const Insets& i) {
    return {r.minX() + sane(i.leading), r.minY() + sane(i.top), std::max(r.width() - horizontal(i), 0.0),
            std::max(r.height() - vertical(i), 0.0)};
}
inline Rect inset(Rect r, double dy, double dx) {
    return {r.minX() + dx, r.minY() + dy, std::max(r.width() - 2 * dx, 0.0), std::max(r.height() - 2 * dy, 0.0)};
}

inline Rect intersection(Rect a, Rect b) {
    double x0 = std::max(a.minX(), b.minX()), y0 = std::max(a.minY(), b.minY());
    double x1 = std::min(a.maxX(), b.maxX()), y1 = std::min(a.maxY(), b.maxY());
    return {x0, y0, std::max(x1 - x0, 0.0), std::max(y1 - y0, 0.0)};
}

// The x of a box of width w aligned in r.
inline double alignX(Rect r, double w, Alignment a) {
    if (a == Alignment::leading) return r.minX();
    if (a == Alignment::trailing) return r.maxX() - w;
    return r.minX() + (r.width() - w) / 2;
}
inline double alignY(Rect r, double h, Alignment a) {
    if (a == Alignment::top || h > r.height()) return r.minY();
    if (a == Alignment::bottom) return r.maxY() - h;
    return r.minY() + (r.height() - h) / 2;
}


}  // namespace desktop::ui::layout
