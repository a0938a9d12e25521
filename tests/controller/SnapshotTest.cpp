#include "tests/controller/ControllerFixture.h"

#include "model/EventRecords.h"
#include "platform/Preferences.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/Window.h"
#include "strip/StripView.h"

namespace orvane::testing {
namespace {

// Tests the 25 keys right after start: running extras only, empty texts, neutral card values.
TEST_F(ControllerTest, SnapshotRightAfterStart) {
    load(scene(json::array({ControllerTest::app("com.a", "A", 200)})));
    start();
    auto state = controller->snapshot();
    const std::vector<std::string> keys{
        "brand", "captureError", "card", "cardFrame", "cardWindowID", "centered", "controls", "detections",
        "dockError", "dockStatus", "frame", "hidden", "lastAction", "menuBarHeight", "offset", "preview",
        "running", "scanning", "screenCapture", "screenCaptureStatus", "scrollAnimations", "settingsVisible",
        "trusted", "visible", "width"};
    std::vector<std::string> actual;
    for (const auto& [key, value] : state.items()) actual.push_back(key);
    EXPECT_EQ(actual, keys);

    EXPECT_EQ(state["visible"], json::array({{{"id", "com.a"}, {"name", "A"}, {"path", "/Applications/A.app"},
                                              {"policy", "auto"}}}));
    EXPECT_EQ(state["hidden"], json::array());
    EXPECT_EQ(state["running"].size(), 2u) << "A and the host itself";
    EXPECT_EQ(state["lastAction"], "");
    EXPECT_EQ(state["card"], "");
    EXPECT_EQ(state["cardWindowID"], 0);
    EXPECT_EQ(state["cardFrame"], (json{{"x", 0}, {"y", 0}, {"width", 0}, {"height", 0}}));
    EXPECT_EQ(state["preview"], json::object());
    EXPECT_EQ(state["dockError"], "");
    EXPECT_EQ(state["dockStatus"], "未开启");
    EXPECT_EQ(state["brand"], "岚舟");
    EXPECT_EQ(state["trusted"], false);
    EXPECT_EQ(state["centered"], false);
    EXPECT_EQ(state["scanning"], false);
    EXPECT_EQ(state["settingsVisible"], false);
    EXPECT_EQ(state["offset"], 0);
    EXPECT_EQ(state["scrollAnimations"], 0);
    EXPECT_DOUBLE_EQ(state["menuBarHeight"].get<double>(), 37) << "max(24, 982 - 945)";
    // One app, not overflowing: 35 + 29 = 64 pt wide, as tall as the status bar.
    EXPECT_DOUBLE_EQ(state["width"].get<double>(), 64);
    auto window = controller->state().strip->window();
    ASSERT_TRUE(window);
    EXPECT_EQ(state["frame"], (json{{"x", window->frame().minX()}, {"y", window->frame().minY()},
                                    {"width", 64.0}, {"height", 24.0}}));
    ASSERT_EQ(state["controls"].size(), 2u);
    EXPECT_EQ(state["controls"][0], (json{{"label", "A，切换"}, {"x", 3.0}, {"width", 29.0}}));
    EXPECT_EQ(state["controls"][1], (json{{"label", "所有应用与设置"}, {"x", 35.0}, {"width", 29.0}}));
}

// Tests the Dock status in acceptance mode and while the controller keeps the Dock hidden.
TEST_F(ControllerTest, SnapshotDockStatusFollowsKeepHidden) {
    load(scene(json::array({ControllerTest::app("com.apple.dock", "Dock", 90)})));
    start(true);
    controller->configure({{"dockPersistent", true}});
    EXPECT_EQ(controller->snapshot()["dockStatus"], "验收模式 · 禁用系统写入");
    EXPECT_EQ(platform::preferences("com.apple.dock")->copyValue("autohide"), std::nullopt)
        << "acceptance mode never writes the Dock";

    start();
    controller->configure({{"dockPersistent", true}});
    EXPECT_EQ(controller->snapshot()["dockStatus"], "已隐藏 · 自动保持") << "configure calibrates at once";

    // Someone shows the Dock again: the status says so until the next tick hides it.
    auto domain = platform::preferences("com.apple.dock");
    domain->setValue("autohide", json(false));
    ASSERT_TRUE(domain->synchronize());
    EXPECT_EQ(controller->snapshot()["dockStatus"], "正在校准");
    desktop::advance(5);
    EXPECT_EQ(controller->snapshot()["dockStatus"], "已隐藏 · 自动保持");
    EXPECT_EQ(controller->drainEvents(), json::array());

    controller->dockSuspend();
    EXPECT_EQ(controller->snapshot()["dockStatus"], "未开启");
}

// Tests that a calibration that keeps failing reports one error and leaves it in dockError.
TEST_F(ControllerTest, KeepHiddenFailureReportedOnce) {
    load(scene(json::array({ControllerTest::app("com.apple.dock", "Dock", 90)}),
               {{"tools", {{"killallLaunchFails", {{"domain", "NSPOSIXErrorDomain"}, {"code", 2}, {"description", "无此文件"}}}}}}));
    start();
    controller->configure({{"dockPersistent", true}});
    auto domain = platform::preferences("com.apple.dock");
    for (int tick = 0; tick < 3; ++tick) {
        domain->setValue("autohide", json(false));
        ASSERT_TRUE(domain->synchronize());
        desktop::advance(5);
    }
    auto events = controller->drainEvents();
    ASSERT_EQ(events.size(), 1u) << events.dump();
    EXPECT_EQ(events[0]["kind"], "error");
    auto message = events[0]["message"].get<std::string>();
    EXPECT_EQ(message.rfind("Dock 隐藏校准失败：", 0), 0u) << message;
    EXPECT_EQ(controller->snapshot()["dockError"], message);
}

// Tests that hidden values that do not read back after a write (a managed
// profile forces the Dock's "autohide") are a failed calibration, reported
// once, and that the Dock's relaunch caused by that write does not start
// another write: the next attempt comes with the next tick.
TEST_F(ControllerTest, KeepHiddenWriteThatDoesNotReadBackFailsOnce) {
    load(scene(json::array({ControllerTest::app("com.apple.dock", "Dock", 90)}),
               {{"managedPreferences", {{"com.apple.dock", {{"autohide", false}}}}}}));
    start();
    auto reloads = [] { return desktop::state()["disk"]["dock"]["reloads"].get<int>(); };
    controller->configure({{"dockPersistent", true}});
    EXPECT_EQ(reloads(), 1);
    const std::string message = "Dock 隐藏校准失败：无法保存 Dock 设置";
    EXPECT_EQ(controller->dockError(), message);

    desktop::pump();
    const int afterRelaunch = reloads();
    if (afterRelaunch != 1) controller->dockSuspend();  // ends a write-and-restart loop, so the test can end
    ASSERT_EQ(afterRelaunch, 1) << "the relaunch the write caused writes nothing";
    finishScans();
    desktop::advance(4.9);
    EXPECT_EQ(reloads(), 1);
    desktop::advance(0.1);
    EXPECT_EQ(reloads(), 2) << "the next tick tries again";
    desktop::pump();
    EXPECT_EQ(reloads(), 2);

    EXPECT_EQ(controller->drainEvents(), json::array({{{"kind", "error"}, {"message", message}}}));
    EXPECT_EQ(controller->snapshot()["dockError"], message);
    EXPECT_EQ(controller->snapshot()["dockStatus"], "正在校准");
}

// Tests that events drain oldest first, once, and identical errors are both kept.
TEST_F(ControllerTest, EventsDrainInOrder) {
    load(scene(json::array()));
    start();
    cardOwner().emit(events::error("x"));
    cardOwner().emit(events::error("x"));
    controller->all();
    verb("choose 设置…");
    EXPECT_EQ(controller->drainEvents(), json::parse(R"([{"kind":"error","message":"x"},
        {"kind":"error","message":"x"},{"kind":"settings"}])"));
    EXPECT_EQ(controller->drainEvents(), json::array());
    controller->all();
    verb("choose 退出 岚舟");
    EXPECT_EQ(controller->drainEvents(), json::parse(R"([{"kind":"quit"}])"));
}

}  // namespace
}  // namespace orvane::testing
