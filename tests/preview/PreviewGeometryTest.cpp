// Tests of the hover card's pure geometry: the viewport's height for each
// window shape, the card's size and rectangles, the control frames that
// move with the card's top, and the capture pixel size.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "preview/PreviewLayout.h"
#include "preview/WindowPreviewGeometry.h"

namespace {

using orvane::PreviewLayout;
using orvane::WindowPreviewGeometry::pixelSize;
using platform::Rect;
using platform::Size;

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

PreviewLayout withImage(double w, double h) { return PreviewLayout(true, {w, h}); }

// Tests that a card without an image is 336 x 162 whatever window it names.
TEST(PreviewLayout, WithoutImageIsFixed) {
    for (Size window : {Size{0, 0}, Size{1600, 1000}, Size{nan, inf}, Size{100, 1000}}) {
        PreviewLayout layout(false, window);
        EXPECT_EQ(layout.previewHeight(), 72.0);
        EXPECT_EQ(layout.size(), Size(336.0, 162.0));
        EXPECT_EQ(layout.header(), Rect(10, 118, 316, 34));
        EXPECT_EQ(layout.viewport(), Rect(10, 46, 316, 72));
        EXPECT_EQ(layout.footerY(), 8.0);
    }
    EXPECT_EQ(PreviewLayout::width, 336.0);
}

// Tests the viewport's height for landscape, square, portrait, very wide and
// degenerate windows.
TEST(PreviewLayout, ViewportFollowsTheWindowsShape) {
    EXPECT_DOUBLE_EQ(withImage(1600, 1000).previewHeight(), 197.5);
    EXPECT_DOUBLE_EQ(withImage(1920, 1080).previewHeight(), 177.75);
    EXPECT_EQ(withImage(1000, 1000).previewHeight(), 202.0);
    EXPECT_EQ(withImage(3000, 1000).previewHeight(), 132.0);
    EXPECT_EQ(withImage(100, 1000).previewHeight(), 202.0) << "r = 0.1 exactly gives 3160, clamped";
    EXPECT_EQ(withImage(0.05, 0.5).previewHeight(), 202.0) << "height below 1: r is the width, 0.05";
    EXPECT_EQ(withImage(400, 0.5).previewHeight(), 132.0) << "height below 1: r is the width, 400";
    EXPECT_EQ(withImage(0, 0).previewHeight(), 202.0);
    EXPECT_EQ(withImage(nan, 500).previewHeight(), 202.0);
    EXPECT_EQ(withImage(-500, 500).previewHeight(), 202.0);
    EXPECT_EQ(withImage(inf, 500).previewHeight(), 132.0);
    EXPECT_EQ(withImage(500, inf).previewHeight(), 202.0);
}

// Tests the card's size and rectangles with an image, and that the header
// controls follow the card's top while the footer stays put.
TEST(PreviewLayout, CardWithImage) {
    PreviewLayout wide = withImage(2400, 1000);
    EXPECT_EQ(wide.previewHeight(), 132.0);
    EXPECT_EQ(wide.size(), Size(336.0, 214.0));
    EXPECT_EQ(wide.header(), Rect(10, 170, 316, 34));
    EXPECT_EQ(wide.viewport(), Rect(10, 34, 316, 132));

    PreviewLayout tall = withImage(600, 900);
    EXPECT_EQ(tall.size(), Size(336.0, 284.0));
    EXPECT_EQ(tall.header(), Rect(10, 240, 316, 34));
    EXPECT_EQ(tall.viewport(), Rect(10, 34, 316, 202));
    EXPECT_EQ(tall.appIcon(), Rect(10, 245, 24, 24));
    EXPECT_EQ(tall.title(), Rect(42, 257, 214, 18));
    EXPECT_EQ(tall.status(), Rect(42, 242, 214, 15));
    EXPECT_EQ(tall.openButton(), Rect(267, 245, 62, 26));
    EXPECT_EQ(tall.viewportBounds(), Rect(0, 0, 316, 202));
    EXPECT_EQ(tall.placeholder(), Rect(16, 81, 284, 40));
    for (const PreviewLayout& layout : {wide, tall, PreviewLayout(false, {})}) {
        EXPECT_EQ(layout.permission(), Rect(228, 8, 102, 26));
        EXPECT_EQ(layout.reopen(), Rect(120, 8, 100, 26));
        EXPECT_EQ(layout.retry(), Rect(12, 8, 100, 26));
        EXPECT_EQ(layout.caption(), Rect(12, 9, 244, 16));
        EXPECT_EQ(layout.previous(), Rect(264, 7, 28, 24));
        EXPECT_EQ(layout.next(), Rect(296, 7, 28, 24));
    }
    EXPECT_EQ(PreviewLayout(false, {}).placeholder(), Rect(16, 16, 284, 40));
}

// Tests the capture size: twice the point size up to a 1440-pixel long
// edge, halves rounded away from zero, at least one pixel, 1 x 1 for
// sizes that are not finite and positive.
TEST(WindowPreviewGeometry, PixelSize) {
    EXPECT_EQ(pixelSize({1600, 1000}), Size(1440, 900));
    EXPECT_EQ(pixelSize({500, 300}), Size(1000, 600));
    EXPECT_EQ(pixelSize({2880, 1800}), Size(1440, 900));
    EXPECT_EQ(pixelSize({719, 400}), Size(1438, 800));
    EXPECT_EQ(pixelSize({721, 400}), Size(1440, 799));
    EXPECT_EQ(pixelSize({400, 721}), Size(799, 1440));
    EXPECT_EQ(pixelSize({0.2, 0.2}), Size(1, 1));
    EXPECT_EQ(pixelSize({0.25, 10}), Size(1, 20)) << "0.5 rounds away from zero";
    EXPECT_EQ(pixelSize({1e9, 1}), Size(1440, 1));
    for (Size bad : {Size{0, 500}, Size{500, 0}, Size{inf, 10}, Size{10, nan}, Size{-5, 10}, Size{10, -inf}})
        EXPECT_EQ(pixelSize(bad), Size(1, 1)) << bad.width << " x " << bad.height;
}

}  // namespace
