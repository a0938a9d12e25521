#include "strip/StripLayout.h"

#include <algorithm>

namespace orvane {
namespace {
// The margin left and right of the slots when there are no arrows.
constexpr double margin = 3;
}  // namespace

std::int64_t StripLayout::capacity() const { return std::min(count_, maximum_); }

bool StripLayout::overflowing() const { return count_ > maximum_; }

double StripLayout::leading() const { return overflowing() ? arrowWidth : margin; }

double StripLayout::width() const {
    double ends = overflowing() ? 2 * arrowWidth : 2 * margin;
    return std::max(minimumWidth, ends + slot_ * static_cast<double>(capacity()) + managerWidth);
}

platform::Rect StripLayout::previous() const { return {0, 0, arrowWidth, height_}; }

platform::Rect StripLayout::next() const {
    return {leading() + slot_ * static_cast<double>(capacity()), 0, arrowWidth, height_};
}

platform::Rect StripLayout::manager() const { return {width() - managerWidth, 0, managerWidth, height_}; }

platform::Rect StripLayout::app(std::int64_t i) const {
    return {leading() + slot_ * static_cast<double>(i), 0, slot_, height_};
}

platform::Rect StripLayout::icon(std::int64_t i) const {
    platform::Rect r = app(i);
    return {r.midX() - iconSide / 2, r.midY() - iconSide / 2, iconSide, iconSide};
}

}  // namespace orvane
