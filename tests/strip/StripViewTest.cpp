// Tests of the strip view against a stand-in owner on the manual clock: the
// control signature and when buttons are rebuilt, what the buttons ask of
// their owner, the pointer leaving the strip and the centred panel.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "strip/StripActionButton.h"
#include "strip/StripView.h"
#include "tests/strip/StripViewFixture.h"

namespace {

using orvane::StripActionButton;
using orvane::testing::six;
using orvane::testing::StripViewTest;
using platform::Rect;

// Tests that an overflowing strip builds one invisible button per visible
// slot, two arrows and the manager, with the signature naming all six ids.
TEST_F(StripViewTest, OverflowingStripBuildsSlotsArrowsAndManager) {
    owner->runningIds["b"] = false;
    show(six);
    EXPECT_EQ(strip->controlSignature(), "0/5/206.0/24.0/a|b|c|d|e|f");
    EXPECT_EQ(strip->frame(), Rect(0, 0, 206, 24));
    EXPECT_EQ(owner->statusItem->length(), 206);

    auto all = buttons();
    ASSERT_EQ(all.size(), 8u);
    EXPECT_EQ(all[0]->accessibilityLabel(), "App a，打开");
    EXPECT_EQ(all[1]->accessibilityLabel(), "App b，切换");
    EXPECT_EQ(all[0]->frame(), Rect(16, 0, 29, 24));
    EXPECT_EQ(all[4]->frame(), Rect(132, 0, 29, 24));
    for (const auto& b : all) {
        EXPECT_EQ(b->title(), "");
        EXPECT_FALSE(b->isBordered());
        EXPECT_EQ(b->bezelStyle(), 2);
        EXPECT_EQ(b->buttonType(), 5);
        EXPECT_EQ(b->toolTip(), b->accessibilityLabel());
        EXPECT_EQ(b->actionName(), "invokeAction");
    }
    auto left = button("向左滚动应用");
    auto right = button("向右滚动应用");
    EXPECT_EQ(left->frame(), Rect(0, 0, 16, 24));
    EXPECT_FALSE(left->isEnabled()) << "nothing to the left at offset 0";
    EXPECT_EQ(right->frame(), Rect(161, 0, 16, 24));
    EXPECT_TRUE(right->isEnabled());
    EXPECT_EQ(all.back()->accessibilityLabel(), "所有应用与设置");
    EXPECT_EQ(all.back()->frame(), Rect(177, 0, 29, 24));

    ASSERT_TRUE(strip->track());
    EXPECT_EQ(strip->track()->options, 0x81u);
    EXPECT_EQ(strip->track()->rect, Rect(0, 0, 206, 24));
    EXPECT_EQ(strip->trackingAreas().size(), 1u) << "resizing replaces the strip's own area";
    EXPECT_EQ(strip->accessibilityRole(), "AXToolbar");
    EXPECT_EQ(strip->accessibilityLabel(), "岚舟 应用栏，滚动查看更多应用");
}

// Tests that an empty strip shows only the manager, 35 pt wide at x 6.
TEST_F(StripViewTest, EmptyStripShowsOnlyTheManager) {
    show({});
    EXPECT_EQ(strip->frame().size, platform::Size(35, 24));
    auto all = buttons();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0]->accessibilityLabel(), "所有应用与设置");
    EXPECT_EQ(all[0]->frame(), Rect(6, 0, 29, 24));
    EXPECT_EQ(strip->controlSignature(), "0/0/35.0/24.0/");
}

// Tests that buttons are rebuilt only when the signature changes: a running
// state change keeps the old buttons (and their labels), a new id list or a
// cleared signature builds new ones.
TEST_F(StripViewTest, RebuildsOnlyWhenTheSignatureChanges) {
    show({"a", "b"});
    auto first = buttons();
    owner->runningIds["a"] = true;
    strip->resize();
    auto again = buttons();
    ASSERT_EQ(again.size(), first.size());
    for (std::size_t i = 0; i < first.size(); ++i) EXPECT_EQ(again[i], first[i]);
    EXPECT_EQ(again[0]->accessibilityLabel(), "App a，打开") << "label kept from the last rebuild";

    strip->setControlSignature("");
    strip->resize();
    EXPECT_NE(buttons()[0], first[0]);
    EXPECT_EQ(buttons()[0]->accessibilityLabel(), "App a，切换");

    auto before = buttons();
    show({"a", "c"});
    EXPECT_NE(buttons()[0], before[0]);
    EXPECT_EQ(buttons()[1]->accessibilityLabel(), "App c，打开");
}

// Tests the buttons' callbacks: tap launches, enter highlights and asks for
// the card over the slot, leave ends it, a right click asks for the menu;
// arrows scroll and close the card, the manager opens the all-apps menu.
TEST_F(StripViewTest, ButtonsCallTheOwner) {
    auto window = platform::ui::Window::create({0, 958, 206, 24}, 0);
    window->setContentView(strip);
    show(six);
    auto slot = buttons()[1];
    slot->performClick();
    EXPECT_EQ(owner->launched, std::vector<std::string>{"b"});
    slot->mouseEntered({});
    EXPECT_EQ(strip->hovered(), 1);
    ASSERT_EQ(owner->hovers.size(), 1u);
    EXPECT_EQ(owner->hovers[0].first, "b");
    EXPECT_EQ(owner->hovers[0].second, Rect(45, 0, 29, 24));
    slot->mouseExited({});
    EXPECT_EQ(strip->hovered(), -1);
    EXPECT_EQ(owner->leaveHoverCalls, 1);
    slot->rightMouseDown({});
    EXPECT_EQ(owner->contextMenus, std::vector<std::string>{"b"});
    ASSERT_TRUE(slot->hoverTracking()) << "a button in a window tracks its bounds";
    EXPECT_EQ(slot->hoverTracking()->options, 0x81u);
    EXPECT_EQ(slot->hoverTracking()->rect, Rect(0, 0, 29, 24));
    EXPECT_EQ(slot->trackingAreas().size(), 1u);

    auto manager = button("所有应用与设置");
    manager->rightMouseDown({});
    EXPECT_EQ(owner->contextMenus.size(), 1u) << "no menu on the manager's right click";
    manager->performClick();
    EXPECT_EQ(owner->allCalls, 1);
    manager->mouseEntered({});
    EXPECT_EQ(owner->closeCardCalls, 1);

    button("向左滚动应用")->performClick();
    EXPECT_EQ(strip->offset(), 0) << "the disabled left arrow does nothing";
    button("向右滚动应用")->mouseEntered({});
    EXPECT_EQ(owner->closeCardCalls, 2);
    button("向右滚动应用")->performClick();
    EXPECT_EQ(strip->offset(), 1);
    EXPECT_EQ(owner->closeCardCalls, 3);

    // A slot after scrolling hovers with its entry index and its own rectangle.
    buttons()[0]->mouseEntered({});
    EXPECT_EQ(strip->hovered(), 1);
    EXPECT_EQ(owner->hovers.back().second, Rect(16, 0, 29, 24));
    strip->scroll(-1);
    EXPECT_EQ(strip->hovered(), -1) << "a scroll step clears the highlight";

    StripActionButton loose({0, 0, 10, 10});
    loose.invokeAction();
    loose.scrollWheel(wheel(0, -10, false));
}

// Tests that leaving the strip clears the hover and runs a held-back refresh exactly once.
TEST_F(StripViewTest, ExitRunsThePendingRefreshOnce) {
    show(six);
    strip->mouseEntered({});
    EXPECT_TRUE(strip->pointerInside());
    buttons()[0]->mouseEntered({});
    owner->pending = true;
    strip->mouseExited({});
    EXPECT_FALSE(strip->pointerInside());
    EXPECT_EQ(strip->hovered(), -1);
    EXPECT_EQ(owner->leaveHoverCalls, 1);
    EXPECT_EQ(owner->refreshes, std::vector<bool>{false});
    strip->mouseEntered({});
    strip->mouseExited({});
    EXPECT_EQ(owner->refreshes.size(), 1u) << "nothing pending the second time";
}

// Tests that a strip whose owner is gone does nothing and does not fail.
TEST_F(StripViewTest, OwnerGoneMakesCallbacksInert) {
    show(six);
    auto slot = buttons()[0];
    auto right = button("向右滚动应用");
    owner.reset();
    slot->performClick();
    slot->mouseEntered({});
    slot->rightMouseDown({});
    strip->mouseExited({});
    strip->resize();
    strip->scroll(1);
    EXPECT_EQ(strip->offset(), 0);
    EXPECT_EQ(strip->appSnapshot(), nullptr);
}

// Tests the snapshot: the slot area only, at the backing scale.
TEST_F(StripViewTest, SnapshotCoversTheSlotsOnly) {
    show(six);
    auto image = strip->appSnapshot();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), platform::Size(145, 24));
    ASSERT_TRUE(image->bitmap());
    EXPECT_EQ(image->bitmap()->pixelsWide(), 290);
    EXPECT_EQ(image->bitmap()->pixelsHigh(), 48);
    show({});
    EXPECT_EQ(strip->appSnapshot(), nullptr) << "no slots, no snapshot";
}

// Tests that in centred mode the strip places its panel centred in the menu
// bar and leaves the status item alone, and hides it under a camera housing.
TEST_F(StripViewTest, CentredModePlacesThePanel) {
    nlohmann::json screen = {{"frame", {0, 0, 1512, 982}}, {"visibleFrame", {0, 0, 1512, 945}}, {"safeAreaTop", 0}};
    start({{"screens", {screen}}, {"statusBarThickness", 24}});
    owner->isCentered = true;
    owner->panel = platform::ui::Window::create({0, 0, 40, 24}, 128);
    owner->panel->setContentView(strip);
    show(six);
    EXPECT_EQ(owner->panel->frame(), Rect(653, 951.5, 206, 24));
    EXPECT_TRUE(owner->panel->isVisible());
    EXPECT_EQ(owner->statusItem->length(), 40) << "the item keeps its length";
    EXPECT_EQ(strip->frame().size, platform::Size(206, 24));

    screen["safeAreaTop"] = 32;
    start({{"screens", {screen}}, {"statusBarThickness", 24}});
    owner->isCentered = true;
    owner->panel = platform::ui::Window::create({0, 0, 40, 24}, 128);
    owner->panel->orderFrontRegardless();
    show(six);
    EXPECT_FALSE(owner->panel->isVisible());
}

}  // namespace
