#include "preview/WindowPreviewGeometry.h"

#include <algorithm>
#include <cmath>

namespace orvane::WindowPreviewGeometry {
namespace {
constexpr double longestEdge = 1440.0;
constexpr double largestScale = 2.0;
}  // namespace

platform::Size pixelSize(platform::Size size) {
    double w = size.width;
    double h = size.height;
    if (!(std::isfinite(w) && w > 0) || !std::isfinite(h) || !(h > 0)) return {1, 1};
    double scale = std::min(longestEdge / std::max(w, h), largestScale);
    // std::round takes halves away from zero.
    return {std::max(std::round(w * scale), 1.0), std::max(std::round(h * scale), 1.0)};
}

}  // namespace orvane::WindowPreviewGeometry
