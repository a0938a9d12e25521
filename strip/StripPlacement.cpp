#include "strip/StripPlacement.h"

namespace orvane::StripPlacement {

platform::Rect frame(platform::Rect screen, double menuBarHeight, double width, double height) {
    double bar = height <= menuBarHeight ? menuBarHeight : height;
    double x = screen.midX() - width * 0.5;
    double y = screen.maxY() - bar * 0.5 - height * 0.5;
    return {x, y, width, height};
}

}  // namespace orvane::StripPlacement
