// Contract tests of the ui/ toolkit: hit-testing through a view tree and
// offscreen rendering at the backing scale.

#include <gtest/gtest.h>

#include <memory>

#include "platform/Geometry.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Color.h"
#include "platform/ui/View.h"
#include "tests/platform/ContractHarness.h"

namespace {

using namespace orvane::contract;
using platform::ui::View;

class PlatformContractToolkit : public ::testing::Test {
protected:
    void SetUp() override { contractReset(); }
};

// Tests that hitTest takes a point in the superview's coordinates, returns
// the deepest visible view under it (later subviews on top), skips hidden
// views, and returns nothing outside the view.
TEST_F(PlatformContractToolkit, HitTestFindsTheDeepestVisibleView) {
    auto root = std::make_shared<View>(platform::Rect{100, 100, 200, 100});
    auto left = std::make_shared<View>(platform::Rect{0, 0, 100, 100});
    auto inner = std::make_shared<View>(platform::Rect{10, 10, 20, 20});
    auto overlap = std::make_shared<View>(platform::Rect{50, 0, 100, 100});
    root->addSubview(left);
    left->addSubview(inner);
    root->addSubview(overlap);

    EXPECT_EQ(root->hitTest({115, 115}), inner) << "point in the superview's coordinates";
    EXPECT_EQ(root->hitTest({105, 190}), left);
    EXPECT_EQ(root->hitTest({170, 150}), overlap) << "the later subview is on top";
    EXPECT_EQ(root->hitTest({290, 150}), root);
    EXPECT_EQ(root->hitTest({50, 50}), nullptr);
    EXPECT_EQ(root->hitTest({310, 150}), nullptr);

    overlap->setHidden(true);
    EXPECT_EQ(root->hitTest({170, 150}), left) << "the hidden view no longer covers the one below";
    EXPECT_EQ(root->hitTest({240, 150}), root);
    left->setHidden(true);
    EXPECT_EQ(root->hitTest({115, 115}), root) << "a hidden view hides its subviews";
}

// Tests that a view without a screen gets a bitmap at backing scale 2 whose
// pixel size is twice the rect's, and that cacheDisplay paints the view's
// layer background into it, the bottom-left subview at the image's bottom.
TEST_F(PlatformContractToolkit, CachedDisplayIsDrawnAtTheBackingScale) {
    auto view = std::make_shared<View>(platform::Rect{0, 0, 40, 20});
    view->setLayerBackgroundColor(platform::ui::Color::rgba(1, 0, 0));
    auto corner = std::make_shared<View>(platform::Rect{0, 0, 10, 10});
    corner->setLayerBackgroundColor(platform::ui::Color::rgba(0, 0, 1));
    view->addSubview(corner);

    auto bitmap = view->bitmapForCachingDisplay(view->bounds());
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->pixelsWide(), 80);
    EXPECT_EQ(bitmap->pixelsHigh(), 40);
    EXPECT_DOUBLE_EQ(bitmap->scale(), 2);
    EXPECT_EQ(bitmap->pixel(60, 10).a, 0) << "the bitmap starts cleared";

    view->cacheDisplay(view->bounds(), *bitmap);
    auto top = bitmap->pixel(60, 10);
    EXPECT_EQ(top.r, 255);
    EXPECT_EQ(top.b, 0);
    EXPECT_EQ(top.a, 255);
    auto bottomLeft = bitmap->pixel(5, 35);  // rows from the top: y 35 of 40 is near the bottom
    EXPECT_EQ(bottomLeft.b, 255);
    EXPECT_EQ(bottomLeft.r, 0);
    auto topLeft = bitmap->pixel(5, 5);
    EXPECT_EQ(topLeft.r, 255) << "a bottom-left subview is not drawn at the top";
}

}  // namespace
