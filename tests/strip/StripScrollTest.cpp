// Tests of the strip view's scrolling on the manual clock: resizing and
// clamping the offset, scroll steps with their cross-fade, reduced motion,
// and wheel and trackpad accumulation.

#include <gtest/gtest.h>

#include <climits>
#include <limits>

#include "desktop/Desktop.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "strip/ScrollTransitionView.h"
#include "strip/StripActionButton.h"
#include "strip/StripView.h"
#include "tests/strip/StripViewFixture.h"

namespace {

using orvane::ScrollTransitionView;
using orvane::StripActionButton;
using orvane::testing::eight;
using orvane::testing::six;
using orvane::testing::StripViewTest;
using platform::Rect;

// Tests that resizing clamps the offset when the list shrinks or the slots grow.
TEST_F(StripViewTest, ResizeClampsTheOffset) {
    show(eight);
    strip->scroll(5);
    EXPECT_EQ(strip->offset(), 3);
    show(six);
    EXPECT_EQ(strip->offset(), 1);
    EXPECT_EQ(strip->controlSignature(), "1/5/206.0/24.0/a|b|c|d|e|f");
    EXPECT_EQ(buttons()[0]->accessibilityLabel(), "App b，打开");
    owner->maxIconCount = 12;
    strip->resize();
    EXPECT_EQ(strip->offset(), 0);
    EXPECT_EQ(strip->frame().width(), 35 + 29 * 6);
}

// Tests that a jump of five from offset 0 with eight entries lands on offset
// 3 in one animated step, and that a step past the end does nothing at all.
TEST_F(StripViewTest, JumpIsOneAnimationAndTheEndIsInert) {
    show(eight);
    strip->scroll(5);
    EXPECT_EQ(strip->offset(), 3);
    EXPECT_EQ(strip->scrollAnimationCount(), 1);
    EXPECT_EQ(strip->scrollEpoch(), 1u);
    EXPECT_EQ(owner->closeCardCalls, 1);
    ASSERT_TRUE(strip->scrollTransition());
    EXPECT_EQ(strip->scrollTransition()->frame(), Rect(16, 0, 145, 24));
    EXPECT_FALSE(button("向右滚动应用")->isEnabled());
    EXPECT_TRUE(button("向左滚动应用")->isEnabled());

    strip->scroll(1);
    EXPECT_EQ(strip->offset(), 3);
    EXPECT_EQ(strip->scrollAnimationCount(), 1);
    EXPECT_EQ(strip->scrollEpoch(), 1u);
    EXPECT_EQ(owner->closeCardCalls, 1);

    desktop::advance(0.18);
    EXPECT_FALSE(strip->scrollTransition());
    for (const auto& view : strip->subviews()) EXPECT_FALSE(std::dynamic_pointer_cast<ScrollTransitionView>(view));
}

// Tests that steps of any size, up to the integer limits, clamp into range.
TEST_F(StripViewTest, HugeStepsClamp) {
    show(eight);
    strip->scroll(LLONG_MAX);
    EXPECT_EQ(strip->offset(), 3);
    strip->scroll(LLONG_MIN);
    EXPECT_EQ(strip->offset(), 0);
    strip->scroll(LLONG_MAX - 1);
    EXPECT_EQ(strip->offset(), 3);
    strip->scroll(-2);
    EXPECT_EQ(strip->offset(), 1);
    EXPECT_EQ(strip->scrollAnimationCount(), 4);
    show({"a", "b"});
    strip->scroll(LLONG_MAX);
    EXPECT_EQ(strip->offset(), 0) << "nothing to scroll without overflow";
}

// Tests that a second quick step removes the first transition at once and
// that the first step's late completion leaves the second one alone.
TEST_F(StripViewTest, QuickStepsAndTheLateCompletion) {
    show(eight);
    strip->scroll(1);
    auto first = strip->scrollTransition();
    ASSERT_TRUE(first);
    desktop::advance(0.1);
    strip->scroll(1);
    auto second = strip->scrollTransition();
    ASSERT_TRUE(second);
    EXPECT_NE(first, second);
    EXPECT_FALSE(first->superview()) << "cut short by the newer step";
    EXPECT_EQ(strip->scrollEpoch(), 2u);

    desktop::advance(0.09);  // the first completion falls due at 0.18
    EXPECT_EQ(strip->scrollTransition(), second);
    EXPECT_EQ(second->superview(), strip);

    desktop::advance(0.1);  // the second at 0.28
    EXPECT_FALSE(strip->scrollTransition());
    EXPECT_FALSE(second->superview());
    EXPECT_EQ(strip->scrollAnimationCount(), 2);
    EXPECT_EQ(strip->offset(), 2);
}

// Tests the cross-fade: the incoming picture starts 18 pt to the side and
// transparent, and both pictures move towards their ends over 0.18 s.
TEST_F(StripViewTest, CrossFadeSlidesTheIncomingPicture) {
    show(eight);
    strip->scroll(1);
    auto transition = strip->scrollTransition();
    ASSERT_TRUE(transition);
    ASSERT_EQ(transition->subviews().size(), 2u);
    auto outgoing = std::dynamic_pointer_cast<platform::ui::ImageView>(transition->subviews()[0]);
    auto incoming = std::dynamic_pointer_cast<platform::ui::ImageView>(transition->subviews()[1]);
    ASSERT_TRUE(outgoing && incoming);
    EXPECT_EQ(incoming->imageScaling(), platform::ui::imageScaling::axesIndependently);
    ASSERT_TRUE(incoming->image());
    EXPECT_EQ(incoming->image()->size(), platform::Size(145, 24));
    EXPECT_DOUBLE_EQ(incoming->presentationFrame().minX(), 18);
    EXPECT_NEAR(incoming->presentationAlpha(), 0, 1e-9);
    EXPECT_NEAR(outgoing->presentationAlpha(), 1, 1e-9);
    desktop::advance(0.09);
    EXPECT_GT(incoming->presentationFrame().minX(), 0);
    EXPECT_LT(incoming->presentationFrame().minX(), 18);
    EXPECT_LT(outgoing->presentationFrame().minX(), 0);
    EXPECT_GT(incoming->presentationAlpha(), 0.5) << "ease-out is past half way at half time";

    desktop::advance(0.2);
    strip->scroll(-1);
    auto back = strip->scrollTransition();
    ASSERT_TRUE(back);
    EXPECT_DOUBLE_EQ(back->subviews()[1]->presentationFrame().minX(), -18) << "moving left slides from the left";
}

// Tests that with reduce motion the incoming picture starts in place and the fade lasts 0.08 s.
TEST_F(StripViewTest, ReduceMotionFadesInPlace) {
    start({{"reduceMotion", true}});
    show(eight);
    strip->scroll(1);
    auto transition = strip->scrollTransition();
    ASSERT_TRUE(transition);
    EXPECT_DOUBLE_EQ(transition->subviews()[1]->presentationFrame().minX(), 0);
    desktop::advance(0.079);
    EXPECT_TRUE(strip->scrollTransition());
    desktop::advance(0.002);
    EXPECT_FALSE(strip->scrollTransition());
}

// Tests that the transition view lets the mouse through to the buttons of the new slots.
TEST_F(StripViewTest, TransitionIsTransparentToTheMouse) {
    show(eight);
    strip->scroll(1);
    ASSERT_TRUE(strip->scrollTransition());
    EXPECT_FALSE(strip->scrollTransition()->hitTest({30, 12}));
    auto hit = std::dynamic_pointer_cast<StripActionButton>(strip->hitTest({30, 12}));
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->accessibilityLabel(), "App b，打开");
}

// Tests wheel and trackpad accumulation: 14 precise points or one wheel line
// make a step, the larger axis counts, and nothing accumulates without overflow.
TEST_F(StripViewTest, WheelAndTrackpadAccumulate) {
    show(eight);
    strip->scrollWheel(wheel(0, -5, true));
    strip->scrollWheel(wheel(0, -5, true));
    EXPECT_EQ(strip->offset(), 0);
    EXPECT_DOUBLE_EQ(strip->accumulated(), 10);
    strip->scrollWheel(wheel(0, -5, true));
    EXPECT_EQ(strip->offset(), 1);
    EXPECT_DOUBLE_EQ(strip->accumulated(), 0);

    strip->scrollWheel(wheel(0, 1, false));
    EXPECT_EQ(strip->offset(), 0) << "one wheel line up steps back at once";

    strip->scrollWheel(wheel(-20, 3, true));
    EXPECT_EQ(strip->offset(), 1) << "a horizontal swipe scrolls by deltaX";
    strip->scrollWheel(wheel(-1, 1, false));
    EXPECT_EQ(strip->offset(), 0) << "an exact diagonal uses deltaY";

    strip->scrollWheel(wheel(std::nan(""), -50, true));
    strip->scrollWheel(wheel(0, std::numeric_limits<double>::infinity(), false));
    EXPECT_EQ(strip->offset(), 0);
    EXPECT_DOUBLE_EQ(strip->accumulated(), 0) << "non-finite deltas are ignored";

    // Buttons hand their wheel events to the strip.
    buttons()[2]->scrollWheel(wheel(0, -1, false));
    EXPECT_EQ(strip->offset(), 1);

    show({"a", "b"});
    strip->scrollWheel(wheel(0, -5, true));
    EXPECT_DOUBLE_EQ(strip->accumulated(), 0) << "a strip without overflow ignores the wheel";
    buttons()[0]->scrollWheel(wheel(0, -100, false));
    EXPECT_EQ(strip->offset(), 0);
}

}  // namespace
