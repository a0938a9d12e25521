#include "preview/PreviewLayout.h"

#include <algorithm>

namespace orvane {
namespace {

constexpr double margin = 10.0;
constexpr double innerWidth = PreviewLayout::width - 2 * margin;
constexpr double placeholderHeight = 72.0;
constexpr double lowestViewport = 132.0;
constexpr double tallestViewport = 202.0;
// Below this aspect ratio (or for none at all) a window gets the tallest viewport.
constexpr double narrowestAspect = 0.1;
constexpr double chromeWithImage = 82.0;
constexpr double chromeWithoutImage = 90.0;
constexpr double headerHeight = 34.0;
constexpr double headerFromTop = 44.0;
constexpr double viewportYWithImage = 34.0;
constexpr double viewportYWithoutImage = 46.0;

}  // namespace

double PreviewLayout::previewHeight() const {
    if (!showsImage_) return placeholderHeight;
    double aspect = windowSize_.height >= 1.0 ? windowSize_.width / windowSize_.height : windowSize_.width;
    // Written so that a ratio that is not a number takes the tallest viewport too.
    if (!(aspect >= narrowestAspect)) return tallestViewport;
    return std::min(std::max(innerWidth / aspect, lowestViewport), tallestViewport);
}

platform::Size PreviewLayout::size() const {
    return {width, previewHeight() + (showsImage_ ? chromeWithImage : chromeWithoutImage)};
}

double PreviewLayout::headerY() const { return size().height - headerFromTop; }

platform::Rect PreviewLayout::header() const { return {margin, headerY(), innerWidth, headerHeight}; }

platform::Rect PreviewLayout::viewport() const {
    return {margin, showsImage_ ? viewportYWithImage : viewportYWithoutImage, innerWidth, previewHeight()};
}

platform::Rect PreviewLayout::appIcon() const { return {10.0, headerY() + 5.0, 24.0, 24.0}; }

platform::Rect PreviewLayout::title() const { return {42.0, headerY() + 17.0, 214.0, 18.0}; }

platform::Rect PreviewLayout::status() const { return {42.0, headerY() + 2.0, 214.0, 15.0}; }

platform::Rect PreviewLayout::openButton() const { return {267.0, headerY() + 5.0, 62.0, 26.0}; }

platform::Rect PreviewLayout::viewportBounds() const { return {0.0, 0.0, innerWidth, previewHeight()}; }

platform::Rect PreviewLayout::placeholder() const {
    return {16.0, viewportBounds().midY() - 20.0, 284.0, 40.0};
}

}  // namespace orvane
