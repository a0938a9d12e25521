#pragma once

#include <optional>
#include <vector>

#include "platform/Geometry.h"

namespace platform {

// One child of an application's menu-bar extras element, as far as it could
// be read. position and size are in top-left-origin screen coordinates and
// are absent when the attribute could not be read as a point or a size.
struct MenuBarExtra {
    int ownerPid = 0;
    bool hidden = false;
    std::optional<Point> position;
    std::optional<Size> size;
    bool pressable = false;
};

class Accessibility {
public:
    virtual ~Accessibility() = default;
    // Whether this process is trusted for accessibility; with prompt the
    // system may show its own request.
    virtual bool isTrusted(bool prompt) = 0;
    // The children of the app's menu-bar extras element, or nothing when the
    // element or its children cannot be read within timeout seconds.
    // Safe to call from the background worker.
    virtual std::optional<std::vector<MenuBarExtra>> extras(int pid, double timeout) = 0;
};

Accessibility& accessibility();

}  // namespace platform
