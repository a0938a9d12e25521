#pragma once

#include <cstdint>

#include "platform/Geometry.h"

namespace orvane {

// The strip's geometry, in the strip view's own coordinates: optional scroll
// arrows around a window of application slots, then the manager control.
// Recomputed from the current entries and settings on every use; indices are
// not checked, so a slot outside 0..capacity-1 lies outside the slot area.
class StripLayout {
public:
    static constexpr double slotWidth = 29;
    static constexpr double arrowWidth = 16;
    static constexpr double managerWidth = 29;
    static constexpr double iconSide = 16;
    static constexpr double minimumWidth = 35;

    StripLayout(std::int64_t count, std::int64_t maximum, double height)
        : count_(count), maximum_(maximum), height_(height) {}

    std::int64_t count() const { return count_; }
    std::int64_t maximum() const { return maximum_; }
    double height() const { return height_; }
    double slot() const { return slot_; }

    std::int64_t capacity() const;
    bool overflowing() const;
    double leading() const;
    double width() const;
    platform::Rect previous() const;
    platform::Rect next() const;
    platform::Rect manager() const;
    platform::Rect app(std::int64_t i) const;
    platform::Rect icon(std::int64_t i) const;

private:
    std::int64_t count_;
    std::int64_t maximum_;
    double height_;
    double slot_ = slotWidth;
};

}  // namespace orvane
