#pragma once

#include "platform/Geometry.h"

namespace orvane {

// The hover card's geometry, in the card's own coordinates (bottom-left
// origin): a fixed width, a viewport whose height follows the shape of the
// window on display, the header above it and the footer row below, and the
// frame of every control. Plain arithmetic, built fresh whenever needed.
class PreviewLayout {
public:
    static constexpr double width = 336.0;

    PreviewLayout(bool showsImage, platform::Size windowSize) : showsImage_(showsImage), windowSize_(windowSize) {}

    bool showsImage() const { return showsImage_; }
    platform::Size windowSize() const { return windowSize_; }

    double previewHeight() const;
    platform::Size size() const;
    platform::Rect header() const;
    platform::Rect viewport() const;
    double footerY() const { return 8.0; }

    // Header controls, which move with the card's top edge.
    platform::Rect appIcon() const;
    platform::Rect title() const;
    platform::Rect status() const;
    platform::Rect openButton() const;
    // Inside the viewport: the two image views fill its bounds.
    platform::Rect viewportBounds() const;
    platform::Rect placeholder() const;
    // Footer controls, at fixed heights whatever the card's height.
    platform::Rect permission() const { return {228.0, 8.0, 102.0, 26.0}; }
    platform::Rect reopen() const { return {120.0, 8.0, 100.0, 26.0}; }
    platform::Rect retry() const { return {12.0, 8.0, 100.0, 26.0}; }
    platform::Rect caption() const { return {12.0, 9.0, 244.0, 16.0}; }
    platform::Rect previous() const { return {264.0, 7.0, 28.0, 24.0}; }
    platform::Rect next() const { return {296.0, 7.0, 28.0, 24.0}; }

private:
    // The header's bottom edge.
    double headerY() const;

    bool showsImage_;
    platform::Size windowSize_;
};

}  // namespace orvane
