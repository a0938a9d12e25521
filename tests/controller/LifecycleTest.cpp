#include "tests/controller/ControllerFixture.h"

#include "platform/ui/Button.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/Window.h"
#include "strip/StripView.h"

namespace orvane::testing {
namespace {

json pinnedApp(const std::string& id, const std::string& name) {
    return {{"id", id}, {"name", name}, {"path", "/Applications/" + name + ".app"}, {"policy", "always"}};
}

// Tests that every configuration key is clamped or falls back to its default.
TEST_F(ControllerTest, ConfigureClampsAndDefaults) {
    load(scene(json::array()));
    start();
    controller->configure({{"maxIcons", 1}, {"showRunning", false}, {"autoDedup", false}});
    EXPECT_EQ(controller->state().maxIcons, 2);
    EXPECT_FALSE(controller->state().showRunning);
    EXPECT_FALSE(controller->state().autoDedup);

    controller->configure({{"maxIcons", 40}});
    EXPECT_EQ(controller->state().maxIcons, 12);
    EXPECT_TRUE(controller->state().showRunning) << "a key left out returns to its default";
    EXPECT_TRUE(controller->state().autoDedup);

    controller->configure({{"maxIcons", "7"}, {"showRunning", 0}, {"autoDedup", "no"}, {"dockPersistent", 1},
                           {"pinned", "Safari"}, {"centered", "yes"}});
    EXPECT_EQ(controller->state().maxIcons, 5);
    EXPECT_TRUE(controller->state().showRunning);
    EXPECT_TRUE(controller->state().autoDedup);
    EXPECT_FALSE(controller->state().dockPersistent);
    EXPECT_TRUE(controller->state().pinned.empty());
    EXPECT_FALSE(controller->state().centered);

    controller->configure({{"maxIcons", -3}, {"dockPersistent", true}});
    EXPECT_EQ(controller->state().maxIcons, 2);
    EXPECT_TRUE(controller->state().dockPersistent);

    controller->configure(json::array({1, 2}));
    EXPECT_EQ(controller->state().maxIcons, 5);
    EXPECT_FALSE(controller->state().dockPersistent);
}

// Tests that pinned elements without a path are dropped and any non-object spoils the list.
TEST_F(ControllerTest, ConfigurePinnedList) {
    load(scene(json::array()));
    start();
    controller->configure({{"pinned", {pinnedApp("com.a", "A"), {{"id", "com.nopath"}}, pinnedApp("com.a", "A"),
                                       pinnedApp("com.b", "B")}}});
    EXPECT_EQ(ids(controller->state().pinned), (std::vector<std::string>{"com.a", "com.a", "com.b"}));
    EXPECT_EQ(visibleIds(), (std::vector<std::string>{"com.a", "com.a", "com.b"})) << "duplicates stay";

    controller->configure({{"pinned", {pinnedApp("com.a", "A"), 5}}});
    EXPECT_TRUE(controller->state().pinned.empty());
    EXPECT_TRUE(controller->state().entries.empty());
}

// Tests that acceptance mode never keeps the Dock hidden.
TEST_F(ControllerTest, AcceptanceModeRefusesDockPersistence) {
    load(scene(json::array()));
    start(true);
    controller->configure({{"dockPersistent", true}});
    EXPECT_FALSE(controller->state().dockPersistent);
}

// Tests that centred mode moves the strip into a panel with the platform's values, once, and back.
TEST_F(ControllerTest, CenteredModeSwitchesTwiceAndOff) {
    load(scene(json::array()));
    start();
    auto item = controller->state().item;
    auto strip = controller->state().strip;
    ASSERT_TRUE(item && strip);
    EXPECT_EQ(item->view(), strip);

    controller->configure({{"centered", true}});
    auto panel = controller->state().centerPanel;
    ASSERT_TRUE(panel);
    EXPECT_TRUE(controller->state().centered);
    EXPECT_EQ(panel->styleMask(), 128u);
    EXPECT_EQ(panel->level(), 26);
    EXPECT_EQ(panel->collectionBehavior(), 273u);
    EXPECT_EQ(panel->title(), "岚舟 · 居中应用栏");
    EXPECT_FALSE(panel->isOpaque());
    EXPECT_TRUE(panel->hasClearBackground());
    EXPECT_FALSE(panel->hasShadow());
    EXPECT_FALSE(panel->hidesOnDeactivate());
    EXPECT_EQ(panel->contentView(), strip);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(item->view(), nullptr);
    EXPECT_DOUBLE_EQ(item->length(), 29);
    EXPECT_EQ(item->autosaveName(), "OrvaneManager");
    auto button = item->button();
    ASSERT_TRUE(button);
    EXPECT_TRUE(button->image());
    EXPECT_EQ(button->accessibilityLabel(), "岚舟 所有应用与设置");
    EXPECT_EQ(button->actionName(), "allAction");

    // The strip sits centred on the 37 pt menu bar: x = 756 - width / 2, y = 982 - 18.5 - 12.
    auto frame = panel->frame();
    EXPECT_DOUBLE_EQ(frame.midX(), 756);
    EXPECT_DOUBLE_EQ(frame.minY(), 951.5);

    button->performClick();
    EXPECT_EQ(controller->state().lastAction, "all") << "the status button opens the all-applications menu";

    controller->configure({{"centered", true}});
    EXPECT_EQ(controller->state().centerPanel, panel) << "the panel is created once";
    EXPECT_EQ(panel->contentView(), strip);

    controller->configure(json::object());
    EXPECT_FALSE(controller->state().centered);
    EXPECT_EQ(controller->state().centerPanel, panel) << "the panel is kept for the next switch";
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(panel->contentView(), nullptr);
    EXPECT_EQ(item->view(), strip);
    EXPECT_DOUBLE_EQ(item->length(), strip->frame().width());
}

// Tests that a moment without screens in centred mode gives the status item
// the strip's width, and that the item is back to the mark's width once a
// screen returns and the strip is centred again.
TEST_F(ControllerTest, CenteredItemRegainsItsLengthWhenAScreenReturns) {
    load(scene(json::array()));
    start();
    controller->configure({{"centered", true}});
    auto item = controller->state().item;
    auto panel = controller->state().centerPanel;
    ASSERT_TRUE(item && panel);
    EXPECT_DOUBLE_EQ(item->length(), 29);

    verb("screens []");
    EXPECT_DOUBLE_EQ(item->length(), controller->state().strip->frame().width()) << "no screen to centre on";

    verb(R"(screens [{"frame":[0,0,1512,982],"visibleFrame":[0,0,1512,945]}])");
    EXPECT_TRUE(panel->isVisible());
    EXPECT_DOUBLE_EQ(item->length(), 29) << "the item shows only the mark again";
}

// Tests that start builds the status item once and stop removes everything it built.
TEST_F(ControllerTest, StartTwiceAndStop) {
    load(scene(json::array()));
    start();
    auto item = controller->state().item;
    ASSERT_TRUE(item);
    EXPECT_EQ(item->view(), controller->state().strip);
    EXPECT_EQ(controller->state().strip->accessibilityLabel(), "岚舟 应用栏，滚动查看更多应用");
    EXPECT_EQ(controller->state().strip->accessibilityRole(), "AXToolbar");
    controller->start();
    EXPECT_EQ(controller->state().item, item) << "a started controller is not started twice";
    EXPECT_EQ(desktop::state()["statusItems"].size(), 1u);

    controller->configure({{"centered", true}});
    auto panel = controller->state().centerPanel;
    controller->stop();
    EXPECT_FALSE(controller->state().item);
    EXPECT_FALSE(controller->state().strip);
    EXPECT_FALSE(controller->state().centerPanel);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(item->window(), nullptr) << "the status item left the menu bar";
    EXPECT_TRUE(desktop::state()["statusItems"].empty());
}

// Tests that no notification or timer reaches a stopped controller, and a released one is safe.
TEST_F(ControllerTest, NothingRunsAfterStop) {
    load(scene(json::array({app("com.apple.mail", "Mail", 300, false)})));
    start();
    controller->stop();
    auto before = controller->state().running.size();
    verb("launch com.apple.mail");
    verb("grant accessibility");
    desktop::advance(12);
    settle();
    EXPECT_EQ(controller->state().running.size(), before) << "no refresh ran after stop";
    EXPECT_FALSE(controller->state().scanning);

    // A controller replaced without stop tears itself down when released.
    start();
    std::weak_ptr<NativeController> weak = controller;
    controllerSlot().reset();
    controller.reset();
    EXPECT_TRUE(weak.expired());
    EXPECT_TRUE(desktop::state()["statusItems"].empty());
    verb("quit com.apple.mail");
    desktop::advance(12);
    settle();
}

// Tests that the timer refreshes and scans every 5 seconds while running.
TEST_F(ControllerTest, TimerScansEveryFiveSeconds) {
    auto mail = app("com.apple.mail", "Mail", 300);
    mail["extras"] = json::array({visibleExtra(300)});
    load(scene(json::array({mail})));
    start();
    controller->configure(json::object());
    finishScans();
    EXPECT_TRUE(controller->state().detections.empty()) << "untrusted: no scan";
    verb("grant accessibility");
    desktop::advance(4.9);
    EXPECT_FALSE(controller->state().scanning);
    desktop::advance(0.1);
    finishScans();
    EXPECT_EQ(controller->state().detections.at("com.apple.mail"), "present");
    EXPECT_EQ(visibleIds(), std::vector<std::string>{}) << "the auto entry yields to its own extra";
    EXPECT_EQ(controller->state().hidden, std::vector<std::string>{"com.apple.mail"});
}

}  // namespace
}  // namespace orvane::testing
