// Tests of what the strip draws, by sampling a few pixels of the strip
// rendered offscreen at scale 2: icons, the hover highlight, running dots,
// chevrons, the product mark and the centred background, light and dark.

#include <gtest/gtest.h>

#include <algorithm>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "platform/ui/Bitmap.h"
#include "strip/StripActionButton.h"
#include "strip/StripView.h"
#include "tests/strip/FakeStripOwner.h"

namespace {

using orvane::StripActionButton;
using orvane::StripView;
using orvane::testing::FakeStripOwner;
using platform::ui::AppearanceName;
using platform::ui::Bitmap;

constexpr std::uint32_t opaqueRed = 0xFFFF0000;

class StripDrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        desktop::reset(nlohmann::json::object(), desktop::Clock::manual);
        owner = std::make_shared<FakeStripOwner>();
        owner->setEntries({"a", "b", "c", "d", "e", "f"});
        owner->icons["a"] = orvane::testing::solidIcon(opaqueRed);
        strip = StripView::create(owner, {0, 0, 40, 24});
        strip->resize();
    }

    std::shared_ptr<Bitmap> render(AppearanceName appearance = AppearanceName::aqua) {
        strip->setAppearance(appearance);
        auto bitmap = strip->bitmapForCachingDisplay(strip->bounds());
        if (bitmap) strip->cacheDisplay(strip->bounds(), *bitmap);
        return bitmap;
    }

    // The pixel whose bottom-left corner is the point (bottom-left origin, in points).
    static Bitmap::Pixel at(const Bitmap& bitmap, double x, double y) {
        double s = bitmap.scale();
        return bitmap.pixel(static_cast<int>(x * s), static_cast<int>((bitmap.size().height - y) * s) - 1);
    }

    // The strongest alpha inside a rectangle of points.
    static int maxAlpha(const Bitmap& bitmap, platform::Rect r) {
        int best = 0;
        double s = bitmap.scale();
        for (int x = static_cast<int>(r.minX() * s); x < static_cast<int>(r.maxX() * s); ++x)
            for (int y = static_cast<int>((bitmap.size().height - r.maxY()) * s);
                 y < static_cast<int>((bitmap.size().height - r.minY()) * s); ++y)
                best = std::max(best, bitmap.pixel(x, y).a);
        return best;
    }

    std::shared_ptr<StripActionButton> slotButton(int i) {
        return std::dynamic_pointer_cast<StripActionButton>(strip->subviews().at(i));
    }

    std::shared_ptr<FakeStripOwner> owner;
    std::shared_ptr<StripView> strip;
};

// Tests that an icon fills its 16 pt square exactly, pixel for pixel at scale 2.
TEST_F(StripDrawingTest, IconsAreCrispInTheirSquare) {
    auto bitmap = render();
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->pixelsWide(), 412);
    // icon(0) is (22.5, 4, 16, 16).
    auto inside = at(*bitmap, 22.5, 4);
    EXPECT_EQ(inside.r, 255);
    EXPECT_EQ(inside.a, 255);
    EXPECT_EQ(at(*bitmap, 38, 19.5).r, 255);
    EXPECT_EQ(at(*bitmap, 22, 12).a, 0) << "nothing left of the icon";
    EXPECT_EQ(at(*bitmap, 38.5, 12).a, 0) << "nothing right of the icon";
    EXPECT_EQ(at(*bitmap, 30, 20).a, 0) << "nothing above the icon";
}

// Tests that the hovered slot gets a faint rounded highlight and the others none.
TEST_F(StripDrawingTest, HoverHighlightsTheSlot) {
    EXPECT_EQ(at(*render(), 47.5, 12).a, 0);
    slotButton(1)->mouseEntered({});
    auto bitmap = render();
    auto highlight = at(*bitmap, 47.5, 12);
    EXPECT_NEAR(highlight.a, 23, 1) << "ink at alpha 0.09";
    EXPECT_EQ(highlight.r, 0);
    EXPECT_EQ(at(*bitmap, 45.5, 12).a, 0) << "inset by 1 pt";
    EXPECT_EQ(at(*bitmap, 76.5, 12).a, 0) << "the next slot stays clear";
    auto dark = at(*render(AppearanceName::darkAqua), 47.5, 12);
    EXPECT_EQ(dark.r, 255);
    EXPECT_NEAR(dark.a, 23, 1);
    slotButton(1)->mouseExited({});
    EXPECT_EQ(at(*render(), 47.5, 12).a, 0);
}

// Tests the running dots: blue under the active application, ink at 0.6
// under another running one, none under an application that is not running.
TEST_F(StripDrawingTest, RunningDotsShowActivity) {
    owner->runningIds["a"] = true;
    owner->runningIds["b"] = false;
    auto bitmap = render();
    auto active = at(*bitmap, 30.5, 1.5);
    EXPECT_EQ(active.r, 0x00);
    EXPECT_EQ(active.g, 0x7A);
    EXPECT_EQ(active.b, 0xFF);
    EXPECT_EQ(active.a, 255);
    auto idle = at(*bitmap, 59.5, 1.5);
    EXPECT_EQ(idle.r, 0);
    EXPECT_NEAR(idle.a, 153, 1);
    EXPECT_EQ(at(*bitmap, 88.5, 1.5).a, 0);
    EXPECT_EQ(at(*bitmap, 30.5, 3).a, 0) << "the dot is 2 pt tall";

    auto dark = render(AppearanceName::darkAqua);
    EXPECT_EQ(at(*dark, 30.5, 1.5).b, 0xFF);
    EXPECT_EQ(at(*dark, 30.5, 1.5).g, 0x84);
    EXPECT_EQ(at(*dark, 59.5, 1.5).r, 255);
}

// Tests that a chevron is strong when it can scroll and faint when it cannot.
TEST_F(StripDrawingTest, ChevronsShowWhereScrollingGoes) {
    platform::Rect left(0, 0, 16, 24), right(161, 0, 16, 24);
    auto start = render();
    EXPECT_NEAR(maxAlpha(*start, left), 64, 3) << "alpha 0.25 at the start";
    EXPECT_NEAR(maxAlpha(*start, right), 204, 3) << "alpha 0.8 with more to the right";
    EXPECT_EQ(maxAlpha(*start, {0, 0, 3, 24}), 0) << "4 pt inside the arrow area";
    EXPECT_EQ(maxAlpha(*start, {0, 17, 16, 7}), 0) << "8 pt tall around the middle";
    strip->scroll(1);
    desktop::advance(1);
    auto end = render();
    EXPECT_NEAR(maxAlpha(*end, left), 204, 3);
    EXPECT_NEAR(maxAlpha(*end, right), 64, 3);
    owner->setEntries({"a"});
    strip->resize();
    EXPECT_EQ(maxAlpha(*render(), {0, 0, 3, 24}), 0) << "no chevrons without overflow";
}

// Tests the mark at the manager: three bars under a rail in ink at 0.85, with gaps between.
TEST_F(StripDrawingTest, MarkSitsOnTheManager) {
    auto bitmap = render();
    // The mark's rectangle is (182.5, 3, 18, 18): u = 0.75.
    auto middle = at(*bitmap, 191.25, 10);
    EXPECT_EQ(middle.r, 0);
    EXPECT_NEAR(middle.a, 217, 1);
    EXPECT_NEAR(at(*bitmap, 186.5, 6).a, 217, 1) << "left bar";
    EXPECT_NEAR(at(*bitmap, 196, 6).a, 217, 1) << "right bar";
    EXPECT_NEAR(at(*bitmap, 191.25, 17).a, 217, 1) << "rail";
    EXPECT_EQ(at(*bitmap, 188.75, 8).a, 0) << "gap between left and middle bar";
    EXPECT_EQ(at(*bitmap, 191.25, 15.5).a, 0) << "gap under the rail";
    EXPECT_EQ(at(*bitmap, 186.5, 12.5).a, 0) << "side bars are shorter";
    EXPECT_EQ(at(*render(AppearanceName::darkAqua), 191.25, 10).r, 255);
}

// Tests that only the centred strip has a background, in the window colour
// at 0.92 and inset half a point at top and bottom.
TEST_F(StripDrawingTest, CentredStripHasABackground) {
    EXPECT_EQ(at(*render(), 174, 3).a, 0);
    owner->isCentered = true;
    auto light = at(*render(), 174, 3);
    EXPECT_NEAR(light.r, 0xEC, 1);
    EXPECT_NEAR(light.a, 235, 1);
    auto dark = at(*render(AppearanceName::darkAqua), 174, 3);
    EXPECT_NEAR(dark.r, 0x32, 1);
    EXPECT_NEAR(dark.a, 235, 1);
    auto edge = render();
    EXPECT_EQ(at(*edge, 174, 0).a, 0) << "half a point clear at the bottom";
    EXPECT_EQ(at(*edge, 174, 23.5).a, 0) << "and at the top";
}

// Tests that while a scroll animates the slots are not drawn by the strip:
// only the two pictures show there.
TEST_F(StripDrawingTest, TransitionReplacesTheSlots) {
    strip->scroll(1);
    ASSERT_TRUE(strip->scrollTransition());
    auto bitmap = render();
    // At the start the outgoing picture still shows the red icon of slot 0 in place.
    EXPECT_EQ(at(*bitmap, 30, 12).r, 255);
    desktop::advance(1);
    EXPECT_EQ(at(*render(), 30, 12).a, 0) << "entry a has scrolled out";
}

}  // namespace
