#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/ScreenCapture.h"

namespace orvane {

// The windows of one application that a card can show, front to back.
// Kept: windows owned by the process, or by any process of the same bundle
// when the bundle is known; on layer 0; at least 100 x 80 points. Ordered
// by their place in the on-screen order (front first); windows missing from
// it (minimised, on another space) come after every listed one, and equal
// places go by the lower window number. Numbers in the order that do not fit
// 32 bits unsigned are ignored.
std::vector<platform::ShareableWindow> capturableWindows(const std::vector<platform::ShareableWindow>& windows,
                                                         int processID, const std::optional<std::string>& bundleID,
                                                         const std::vector<std::int64_t>& onScreenOrder);

}  // namespace orvane
