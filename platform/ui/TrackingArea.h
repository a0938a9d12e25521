#pragma once

#include <cstdint>
#include <memory>

#include "platform/Geometry.h"

namespace platform::ui {

class View;

namespace tracking {
inline constexpr std::uint32_t mouseEnteredAndExited = 0x01;
inline constexpr std::uint32_t mouseMoved = 0x02;
inline constexpr std::uint32_t activeInKeyWindow = 0x20;
inline constexpr std::uint32_t activeAlways = 0x80;
}  // namespace tracking

// A rectangle of a view (in its own coordinates) that reports the pointer
// entering and leaving it to its owner.
struct TrackingArea {
    Rect rect;
    std::uint32_t options = 0;
    std::weak_ptr<View> owner;
};

}  // namespace platform::ui
