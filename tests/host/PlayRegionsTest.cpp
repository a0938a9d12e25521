// Where the playground draws first: the parts around the pointer, the menu
// bar and the card, on tile boundaries, or the whole screen when that is as cheap.
#include <cmath>

#include <gtest/gtest.h>

#include "host/PlayRegions.h"

namespace {

using platform::Rect;

host::LookInputs demoScreen() {
    host::LookInputs in;
    in.screen = {0, 0, 1512, 982};
    in.scale = 2;
    in.menuBarBottom = 945;
    return in;
}

bool onTiles(const Rect& r, const host::LookInputs& in) {
    auto whole = [](double v) { return std::abs(v / 32 - std::round(v / 32)) < 1e-9; };
    const double down = in.screen.maxY() - r.maxY();
    return whole(r.minX()) && whole(down) && (whole(r.width()) || r.maxX() == in.screen.maxX()) &&
           (whole(r.height()) || r.minY() == in.screen.minY());
}

TEST(PlayRegionsTest, ThePointerOnTheStripIsOnePartWithTheMenuBar) {
    auto in = demoScreen();
    in.pointerThen = {1330, 963};
    in.pointerNow = {1360, 963};
    auto parts = host::partsToDraw(in, 64);
    ASSERT_TRUE(parts);
    ASSERT_EQ(parts->size(), 1u);
    const Rect& part = parts->front();
    EXPECT_EQ(part.minX(), 0);
    EXPECT_EQ(part.width(), 1512);
    EXPECT_EQ(part.maxY(), 982);
    EXPECT_LE(part.minY(), 945 - 25);
    EXPECT_TRUE(onTiles(part, in));
}

TEST(PlayRegionsTest, APointerFarFromTheMenuBarIsAPartOfItsOwn) {
    auto in = demoScreen();
    in.pointerThen = {700, 500};
    in.pointerNow = {703, 498};
    auto parts = host::partsToDraw(in, 64);
    ASSERT_TRUE(parts);
    ASSERT_EQ(parts->size(), 2u);
    for (const auto& part : *parts) EXPECT_TRUE(onTiles(part, in));
    const Rect& pointer = (*parts)[0].width() < (*parts)[1].width() ? (*parts)[0] : (*parts)[1];
    EXPECT_LE(pointer.minX(), 699);
    EXPECT_GE(pointer.maxX(), 715);
    EXPECT_LE(pointer.width(), 64);
}

TEST(PlayRegionsTest, TheCardWhereItWasAndIsIsDrawn) {
    auto in = demoScreen();
    in.pointerThen = in.pointerNow = {1300, 963};
    in.cardThen = Rect{1100, 700, 336, 240};
    in.cardNow = Rect{1150, 700, 336, 240};
    auto parts = host::partsToDraw(in, 64);
    ASSERT_TRUE(parts);
    // The card hangs from the menu bar's band but is drawn as a part of its
    // own: together they would make a band as wide as the screen.
    ASSERT_EQ(parts->size(), 2u);
    const Rect& band = (*parts)[0].width() > (*parts)[1].width() ? (*parts)[0] : (*parts)[1];
    const Rect& card = (*parts)[0].width() > (*parts)[1].width() ? (*parts)[1] : (*parts)[0];
    EXPECT_EQ(band.width(), 1512);
    EXPECT_GE(band.minY(), 945 - 32) << "the band stays the menu bar's";
    EXPECT_LE(card.minX(), 1100 - 24);
    EXPECT_GE(card.maxX(), 1486);
    EXPECT_LT(card.width(), 512) << "where the card was and is, not the screen's width";
    EXPECT_LE(card.minY(), 700 - 32);
    EXPECT_GE(card.maxY(), 940);
    for (const auto& part : *parts) EXPECT_TRUE(onTiles(part, in));
}

TEST(PlayRegionsTest, BeyondHalfTheScreenTheWholeIsDrawn) {
    auto in = demoScreen();
    in.pointerThen = {100, 50};
    in.pointerNow = {100, 50};
    in.cardNow = Rect{200, 100, 1200, 800};
    EXPECT_FALSE(host::partsToDraw(in, 64));
}

}  // namespace
