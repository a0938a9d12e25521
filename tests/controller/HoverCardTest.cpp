// Tests of the hover card's life cycle in the simulated menu bar: the
// pointer resting on an icon, leaving it for the card and coming back,
// moving on to a neighbour, the strip's other controls, placement at the
// screen's edges, the panel's attributes, and the card's events.

#include <gtest/gtest.h>

#include "platform/ui/Button.h"
#include "platform/ui/Window.h"
#include "preview/ScreenCaptureAccess.h"
#include "preview/WindowPreview.h"
#include "strip/StripLayout.h"
#include "strip/StripView.h"
#include "tests/controller/ControllerFixture.h"
#include "tests/support/Call.h"
#include "tests/support/ScreenPoint.h"

namespace orvane::testing {
namespace {

using test::data;

class HoverCardTest : public ControllerTest {
protected:
    void SetUp() override {
        ControllerTest::SetUp();
        ScreenCaptureAccess::reset();
    }

    // count running apps (Alpha, Bravo, ...) pinned on a strip of maxIcons slots.
    void startWithApps(int count, int maxIcons = 5, json extra = json::object()) {
        static const char* names[] = {"Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot", "Golf"};
        json apps = json::array();
        json pinned = json::array();
        for (int i = 0; i < count; ++i) {
            json a = app(std::string("com.example.") + names[i], names[i], 500 + i);
            a["windows"] = json::array({{{"number", 100 + i}, {"title", names[i]}, {"frame", {200, 200, 800, 500}}}});
            apps.push_back(a);
            pinned.push_back({{"id", a["bundleId"]}, {"name", names[i]}, {"path", a["path"]}});
        }
        load(scene(apps, extra));
        start();
        controller->configure({{"pinned", pinned}, {"maxIcons", maxIcons}, {"showRunning", false}});
        finishScans();
        strip = controller->state().strip;
        ASSERT_TRUE(strip && strip->window());
    }

    // A point of the strip (its coordinates) on the screen, as verb arguments.
    std::string at(double x, double y) const { return orvane::test::screenPoint(*strip, x, y); }
    StripLayout layout() const {
        return StripLayout(std::int64_t(controller->state().entries.size()), controller->state().maxIcons, 24);
    }
    void pointAtSlot(int i) {
        auto r = layout().app(i);
        verb("pointer " + at(r.midX(), r.midY()));
    }
    void pointAtCard() {
        auto f = controller->hoverCard().window()->frame();
        verb("pointer " + std::to_string(f.midX()) + " " + std::to_string(f.midY()));
    }
    std::string card() { return data("snapshot")["card"]; }

    std::shared_ptr<StripView> strip;
};

// Tests that passing over three icons within the delay opens no card, and
// that resting on the third opens only its card after 0.45 s.
TEST_F(HoverCardTest, OnlyTheIconThePointerRestsOnOpensItsCard) {
    startWithApps(3);
    pointAtSlot(0);
    desktop::advance(0.2);
    pointAtSlot(1);
    desktop::advance(0.2);
    pointAtSlot(2);
    desktop::advance(0.44);
    EXPECT_EQ(card(), "");
    EXPECT_EQ(data("snapshot")["cardWindowID"], 0);
    desktop::advance(0.02);
    EXPECT_EQ(card(), "com.example.Charlie");
    json snapshot = data("snapshot");
    EXPECT_NE(snapshot["cardWindowID"], 0);
    EXPECT_EQ(snapshot["cardFrame"]["width"], 336);
    EXPECT_EQ(snapshot["cardFrame"]["height"], 162);
    desktop::advance(5);
    EXPECT_EQ(card(), "com.example.Charlie") << "a card stays while the pointer rests on its icon";

    pointAtSlot(1);
    EXPECT_EQ(card(), "") << "a neighbour closes the card at once";
    desktop::advance(0.44);
    EXPECT_EQ(card(), "");
    desktop::advance(0.02);
    EXPECT_EQ(card(), "com.example.Bravo");
}

// Tests that the card survives the way from its icon to the card and back,
// and closes 0.25 s after the pointer left the card.
TEST_F(HoverCardTest, PointerTravelsBetweenIconAndCard) {
    startWithApps(2);
    pointAtSlot(0);
    desktop::advance(0.46);
    ASSERT_EQ(card(), "com.example.Alpha");
    const int number = controller->hoverCard().window()->windowNumber();

    pointAtCard();
    desktop::advance(1);
    EXPECT_EQ(card(), "com.example.Alpha");
    pointAtSlot(0);
    desktop::advance(1);
    EXPECT_EQ(card(), "com.example.Alpha");
    EXPECT_EQ(controller->hoverCard().window()->windowNumber(), number) << "coming back to the icon keeps the very card";

    pointAtCard();
    verb("pointer 300 300");
    desktop::advance(0.24);
    EXPECT_EQ(card(), "com.example.Alpha");
    desktop::advance(0.02);
    EXPECT_EQ(card(), "");
    EXPECT_EQ(data("snapshot")["preview"], json::object());

    // Leaving the icon before the delay: the card never opens.
    pointAtSlot(1);
    desktop::advance(0.3);
    verb("pointer 300 300");
    desktop::advance(1);
    EXPECT_EQ(card(), "");
}

// Tests that a hide job finding the pointer inside the card leaves it open.
TEST_F(HoverCardTest, HideJobSparesACardUnderThePointer) {
    startWithApps(1);
    pointAtSlot(0);
    desktop::advance(0.46);
    pointAtCard();
    stripOwner().leaveHover();
    desktop::advance(0.3);
    EXPECT_EQ(card(), "com.example.Alpha");
}

// Tests that the arrows, the manager control and the closing actions close
// the card at once.
TEST_F(HoverCardTest, OtherControlsAndActionsCloseTheCard) {
    startWithApps(7, 5);
    auto reopen = [&] {
        data("hover", {{"index", 1}});
        ASSERT_EQ(card(), "com.example.Bravo");
    };
    reopen();
    verb("pointer " + at(layout().next().midX(), 12));
    EXPECT_EQ(card(), "") << "the right arrow";
    reopen();
    verb("pointer " + at(layout().manager().midX(), 12));
    EXPECT_EQ(card(), "") << "the manager control";
    verb("pointer 300 300");

    reopen();
    data("scroll", {{"step", 1}});
    EXPECT_EQ(card(), "") << "scrolling";
    desktop::advance(0.5);
    reopen();
    data("closeCard");
    EXPECT_EQ(card(), "");
    data("closeCard");
    EXPECT_EQ(card(), "") << "closing without a card";
    reopen();
    data("all");
    EXPECT_EQ(card(), "") << "the all-applications menu";
    verb("dismiss");
    reopen();
    verb("activate com.example.Charlie");
    EXPECT_EQ(card(), "") << "a workspace notification";
    reopen();
    controller->configure({{"maxIcons", 5}});
    EXPECT_EQ(card(), "") << "configure";
    data("hover", {{"index", 0}});
    data("stop");
    EXPECT_EQ(controller->hoverCard().window(), nullptr) << "stop";
}

// Tests the host's hover: the index is checked, the slot is the one shifted
// by the scroll offset, and a card that is open closes before the next opens.
TEST_F(HoverCardTest, HostHoverReplacesTheOpenCard) {
    startWithApps(7, 5);
    data("hover", {{"index", 7}});
    data("hover", {{"index", -1}});
    data("hover", {{"index", "2"}});
    EXPECT_EQ(card(), "");

    data("hover", {{"index", 0}});
    const platform::Rect unscrolled = controller->hoverCard().window()->frame();
    data("hover", {{"index", 2}});
    auto first = controller->hoverCard().window();
    auto firstPreview = controller->hoverCard().preview();
    ASSERT_TRUE(first && firstPreview);
    data("hover", {{"index", 3}});
    EXPECT_EQ(card(), "com.example.Delta");
    EXPECT_FALSE(first->isVisible()) << "the replaced card's panel leaves the screen";
    EXPECT_TRUE(firstPreview->isStopped());

    data("scroll", {{"step", 2}});
    desktop::advance(0.5);
    data("hover", {{"index", 2}});
    EXPECT_EQ(controller->hoverCard().window()->frame(), unscrolled) << "entry 2 is at slot 0 when scrolled by two";
}

// Tests the panel's attributes and that the card sits 6 pt under its slot,
// pushed left to stay 8 pt inside the right edge of the screen.
TEST_F(HoverCardTest, PanelAttributesAndPlacement) {
    startWithApps(2);
    data("hover", {{"index", 1}});
    auto panel = controller->hoverCard().window();
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->styleMask(), 128u);
    EXPECT_EQ(panel->level(), 101);
    EXPECT_EQ(panel->collectionBehavior(), 265u);
    EXPECT_FALSE(panel->isOpaque());
    EXPECT_TRUE(panel->hasClearBackground());
    EXPECT_TRUE(panel->hasShadow());
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->contentView(), controller->hoverCard().preview());

    // The strip sits at the right end of the 1512-point screen: the card is
    // pushed in to 8 pt from the edge; its top is 6 pt below the slot.
    const double slotBottom = strip->window()->frame().minY();
    json frame = data("snapshot")["cardFrame"];
    EXPECT_EQ(frame, json({{"x", 1512 - 8 - 336}, {"y", 982 - (slotBottom - 6)}, {"width", 336}, {"height", 162}}));
}

// Tests placement on a screen narrower and lower than the card: the left and
// bottom margins win.
TEST_F(HoverCardTest, SmallScreenKeepsLeftAndBottomMargins) {
    json screens = json::array({{{"frame", {0, 0, 300, 150}}, {"visibleFrame", {0, 0, 300, 126}}}});
    startWithApps(1, 5, {{"screens", screens}});
    data("hover", {{"index", 0}});
    ASSERT_TRUE(controller->hoverCard().window());
    EXPECT_EQ(controller->hoverCard().window()->frame(), platform::Rect(8, 8, 336, 162));
}

// Tests that without any screen the card is placed relative to its slot alone.
TEST_F(HoverCardTest, WithoutScreensTheAnchorIsTheArea) {
    startWithApps(1, 5, {{"screens", json::array()}});
    data("hover", {{"index", 0}});
    ASSERT_TRUE(controller->hoverCard().window());
    auto origin = strip->window()->frame().origin;
    auto slot = layout().app(0).offsetBy(origin.x, origin.y);
    EXPECT_EQ(controller->hoverCard().window()->frame(), platform::Rect(slot.minX() + 8, slot.minY() + 8, 336, 162));
    EXPECT_EQ(data("snapshot")["cardFrame"]["y"], -(slot.minY() + 8 + 162));
}

// Tests the card's buttons: reopen and the permission settings become
// events for the host, the open button launches and closes the card.
TEST_F(HoverCardTest, CardButtonsBecomeEvents) {
    startWithApps(1);
    makeBundle("/Applications/Alpha.app");
    data("hover", {{"index", 0}});
    auto preview = controller->hoverCard().preview();
    ASSERT_TRUE(preview);
    ASSERT_FALSE(preview->permission()->isHidden());
    auto click = [&](const std::shared_ptr<platform::ui::View>& view) {
        auto frame = controller->hoverCard().window()->frame();
        auto p = view->convertToWindow({view->bounds().midX(), view->bounds().midY()});
        verb("click " + std::to_string(frame.minX() + p.x) + " " + std::to_string(frame.minY() + p.y));
    };
    data("events");
    click(preview->permission());
    click(preview->reopen());
    EXPECT_EQ(data("events"), json::array({{{"kind", "screenPermission"}}, {{"kind", "relaunch"}}}));
    click(preview->openButton());
    EXPECT_EQ(card(), "");
    EXPECT_EQ(data("snapshot")["lastAction"], "launch:com.example.Alpha");
}

}  // namespace
}  // namespace orvane::testing
