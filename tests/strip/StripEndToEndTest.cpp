// Tests of the strip in its real place: started by the controller in the
// simulated menu bar, driven by the simulated pointer, wheel and menus.

#include <gtest/gtest.h>

#include "platform/ui/Window.h"
#include "strip/StripActionButton.h"
#include "strip/StripView.h"
#include "tests/controller/ControllerFixture.h"
#include "tests/support/ScreenPoint.h"

namespace orvane::testing {
namespace {

class StripEndToEndTest : public ControllerTest {
protected:
    // Seven pinned apps on a five-slot strip, none running.
    void startOverflowing() {
        json pinned = json::array();
        for (const char* name : {"Safari", "Mail", "Notes", "Xcode", "Music", "Books", "Maps"})
            pinned.push_back({{"id", std::string("com.apple.") + name}, {"name", name},
                              {"path", std::string("/Applications/") + name + ".app"}});
        load(scene(json::array()));
        start();
        controller->configure({{"pinned", pinned}, {"maxIcons", 5}});
        finishScans();
        strip = controller->state().strip;
        ASSERT_TRUE(strip && strip->window());
    }

    // A point of the strip (its coordinates) on the screen, as verb arguments.
    std::string at(double x, double y) const { return orvane::test::screenPoint(*strip, x, y); }

    std::shared_ptr<StripView> strip;
};

// Tests that the pointer over a slot highlights it, the wheel and the
// trackpad scroll the strip, and leaving the strip clears the highlight.
TEST_F(StripEndToEndTest, PointerHoverAndWheelScroll) {
    startOverflowing();
    EXPECT_EQ(strip->frame().width(), 206);
    ASSERT_TRUE(verb("pointer " + at(50, 12))["ok"].get<bool>());
    EXPECT_TRUE(strip->pointerInside());
    EXPECT_EQ(strip->hovered(), 1);

    verb("scroll 0 -1");
    EXPECT_EQ(strip->offset(), 1);
    EXPECT_EQ(strip->hovered(), -1);
    for (int i = 0; i < 3; ++i) verb("scroll 0 -5 precise");
    EXPECT_EQ(strip->offset(), 2);
    EXPECT_EQ(controller->snapshot()["scrollAnimations"], 2);
    desktop::advance(0.5);
    EXPECT_FALSE(strip->scrollTransition());

    verb("pointer 700 400");
    EXPECT_FALSE(strip->pointerInside());
}

// Tests that clicks reach the arrows and the manager, and that a right click
// on a slot opens its context menu whose pin item queues a pin event.
TEST_F(StripEndToEndTest, ClicksArrowsMenusAndPin) {
    startOverflowing();
    verb("click " + at(168, 12));
    EXPECT_EQ(strip->offset(), 1) << "the right arrow";
    desktop::advance(0.5);
    verb("click " + at(8, 12));
    EXPECT_EQ(strip->offset(), 0) << "the left arrow";
    desktop::advance(0.5);

    verb("rightclick " + at(30, 12));
    json menu = verb("menu")["menu"];
    ASSERT_TRUE(menu.is_object()) << menu.dump();
    EXPECT_NE(menu.dump().find("取消固定"), std::string::npos) << menu.dump();
    ASSERT_TRUE(verb("choose 取消固定")["ok"].get<bool>());
    json events = controller->drainEvents();
    ASSERT_EQ(events.size(), 1u) << events.dump();
    EXPECT_EQ(events[0]["kind"], "pin");
    EXPECT_EQ(events[0]["app"]["id"], "com.apple.Safari");

    verb("click " + at(190, 12));
    EXPECT_EQ(controller->snapshot()["lastAction"], "all");
    menu = verb("menu")["menu"];
    EXPECT_NE(menu.dump().find("岚舟 · 所有应用"), std::string::npos) << menu.dump();
}

// Tests that configure rebuilds the buttons even when the ids stay the same:
// a running app pinned under another record shows, opens and pins as that
// record, not as the one its button was built from.
TEST_F(StripEndToEndTest, ConfigureRebuildsButtonsForChangedRecords) {
    load(scene({app("com.apple.Safari", "Safari", 501)},
               {{"launchServices", {{"com.example.Renamed", "/Applications/Renamed.app"}}}}));
    start();
    controller->configure(json::object());
    finishScans();
    strip = controller->state().strip;
    ASSERT_EQ(visibleIds(), std::vector<std::string>{"com.apple.Safari"});

    const json renamed = {{"id", "com.apple.Safari"}, {"name", "Renamed"},
                          {"path", "/Applications/Renamed.app"}, {"policy", "always"}};
    makeBundle("/Applications/Renamed.app");
    controller->configure({{"pinned", {renamed}}});
    finishScans();
    ASSERT_EQ(controller->snapshot()["visible"][0], renamed);

    auto slot = std::dynamic_pointer_cast<StripActionButton>(strip->subviews().front());
    ASSERT_TRUE(slot);
    EXPECT_EQ(slot->toolTip(), "Renamed，切换");
    EXPECT_EQ(slot->accessibilityLabel(), "Renamed，切换");

    auto center = slot->frame();
    verb("click " + at(center.midX(), center.midY()));
    desktop::advance(0);
    json opened = desktop::state()["opened"].back();
    EXPECT_EQ(opened["path"], "/Applications/Renamed.app");
    EXPECT_FALSE(opened.contains("error")) << opened.dump();
    settle();
    EXPECT_EQ(controller->drainEvents(), json::array()) << "the open succeeded";

    verb("rightclick " + at(center.midX(), center.midY()));
    ASSERT_TRUE(verb("choose 取消固定")["ok"].get<bool>());
    json events = controller->drainEvents();
    ASSERT_EQ(events.size(), 1u) << events.dump();
    EXPECT_EQ(events[0]["kind"], "pin");
    EXPECT_EQ(events[0]["app"], renamed) << "the host stores what the event carries";
}

}  // namespace
}  // namespace orvane::testing
