// Tests that every control of the settings window becomes exactly the event
// the host expects, once, in the order a person used the controls.

#include "tests/settings/SettingsFixture.h"

namespace orvane::testing {
namespace {

namespace declarative = platform::ui::declarative;

class SettingsEventsTest : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        startLibrary();
        values = fullUpdate(json::array({pinnedApp("com.a", "Alpha"), pinnedApp("com.b", "Beta", "running")}));
        values["preferences"]["hasUndo"] = true;
        values["message"] = "已导入 2 个应用";
        values["installed"] = json::array({pinnedApp("com.a", "Alpha"), pinnedApp("com.c", "Gamma")});
        update(values);
        send("settingsShow");
        events();
    }

    static json appOf(const std::string& id, const std::string& name, const std::string& policy = "auto") {
        return pinnedApp(id, name, policy);
    }

    json values;
};

// Tests that each control of the three pages sends its one event, in order,
// with the app and value it names.
TEST_F(SettingsEventsTest, EveryControlSendsItsEvent) {
    press("从工具栏导入当前 Dock");
    press("撤销导入");
    press("关闭提示");
    press("打开 Alpha");
    pick("Alpha 的入口策略", "始终显示");
    press("下移 Alpha");
    press("上移 Beta");
    press("取消固定 Beta");
    press("收起窗口");
    press("添加应用");
    EXPECT_EQ(model().tab(), "add");
    press("固定 Gamma");
    press("偏好设置");
    press("将应用栏居中显示");
    press("显示未固定的运行应用");
    press("自动让位给已有原生入口");
    step("可见图标", 1);
    press("登录时启动 岚舟");
    press("辅助功能的系统设置…");  // accessibility is in effect
    press("前往授权屏幕录制…");
    press("重新检测辅助功能");
    press("重新检测屏幕权限");
    press("重新打开岚舟");
    press("开启持续隐藏");
    press("恢复说明…");
    press("退出 岚舟");

    const json alpha = appOf("com.a", "Alpha");
    const json beta = appOf("com.b", "Beta", "running");
    const json expected = json::array({
        {{"kind", "import"}},
        {{"kind", "undoImport"}},
        {{"kind", "dismissMessage"}},
        {{"kind", "launch"}, {"app", alpha}},
        {{"kind", "policy"}, {"app", alpha}, {"value", "always"}},
        {{"kind", "move"}, {"app", alpha}, {"value", 1}},
        {{"kind", "move"}, {"app", beta}, {"value", -1}},
        {{"kind", "pin"}, {"app", beta}},
        {{"kind", "hideSettings"}},
        {{"kind", "loadInstalled"}},
        {{"kind", "pin"}, {"app", appOf("com.c", "Gamma")}},
        {{"kind", "preference"}, {"key", "centered"}, {"value", true}},
        {{"kind", "preference"}, {"key", "showRunning"}, {"value", true}},
        {{"kind", "preference"}, {"key", "autoDedup"}, {"value", true}},
        {{"kind", "preference"}, {"key", "maxIcons"}, {"value", 6}},
        {{"kind", "login"}, {"value", true}},
        {{"kind", "permission"}},
        {{"kind", "screenPermission"}},
        {{"kind", "accessibilityRetry"}},
        {{"kind", "screenRetry"}},
        {{"kind", "relaunch"}},
        {{"kind", "toggleDock"}},
        {{"kind", "recovery"}},
        {{"kind", "quit"}},
    });
    EXPECT_EQ(events(), expected);
    EXPECT_TRUE(settings().isVisible()) << "hideSettings is a request to the host, not a hide";
}

// Tests that the empty list offers the import twice (toolbar and page), told
// apart by their accessibility labels, and that both send "import".
TEST_F(SettingsEventsTest, EmptyListOffersImport) {
    values["preferences"]["pinned"] = json::array();
    update(values);
    EXPECT_TRUE(shows("把常用应用带到顶部"));
    EXPECT_TRUE(shows("导入当前 Dock，或选择本机应用。"));
    press("从空列表导入当前 Dock");
    press("从工具栏导入当前 Dock");
    EXPECT_EQ(eventKinds(), (std::vector<std::string>{"import", "import"}));
}

// Tests that toggles move at once and send one event, the next update
// without the key turns them back, and the login toggle only asks.
TEST_F(SettingsEventsTest, OptimisticTogglesAndLogin) {
    showTab("settings");
    press("将应用栏居中显示");
    EXPECT_TRUE(control("将应用栏居中显示")->isOn) << "the toggle moves before the host answers";
    EXPECT_EQ(events().size(), 1u);
    update(values);
    EXPECT_FALSE(control("将应用栏居中显示")->isOn);

    press("登录时启动 岚舟");
    EXPECT_FALSE(control("登录时启动 岚舟")->isOn) << "login waits for the host";
    values["login"] = true;
    update(values);
    EXPECT_TRUE(control("登录时启动 岚舟")->isOn);
    press("登录时启动 岚舟");
    EXPECT_EQ(events(), json::parse(R"([{"kind":"login","value":true},{"kind":"login","value":false}])"));
}

// Tests the stepper: it writes the number before the host answers, stops at
// 2 and 12, and brings a value from outside that range back into it.
TEST_F(SettingsEventsTest, StepperBounds) {
    showTab("settings");
    EXPECT_TRUE(shows("5 个"));
    step("可见图标", -1);
    EXPECT_EQ(model().maxIcons(), 4);
    EXPECT_TRUE(shows("4 个"));

    values["preferences"]["maxIcons"] = 12;
    update(values);
    EXPECT_EQ(hosting().stepControl("可见图标", 1), declarative::Outcome::atLimit);
    step("可见图标", -1);
    values["preferences"]["maxIcons"] = 2;
    update(values);
    EXPECT_EQ(hosting().stepControl("可见图标", -1), declarative::Outcome::atLimit);
    values["preferences"]["maxIcons"] = 40;
    update(values);
    EXPECT_TRUE(shows("40 个"));
    step("可见图标", -1);
    values["preferences"]["maxIcons"] = "seven";
    update(values);
    EXPECT_TRUE(shows("5 个"));

    const auto maxIcons = [](int n) { return json{{"kind", "preference"}, {"key", "maxIcons"}, {"value", n}}; };
    EXPECT_EQ(events(), json::array({maxIcons(4), maxIcons(11), maxIcons(12)}));
}

// Tests that the first row cannot move up, the last cannot move down, a single
// row can do neither, and a disabled button sends nothing.
TEST_F(SettingsEventsTest, MoveButtonsAtTheEnds) {
    EXPECT_FALSE(control("上移 Alpha")->enabled);
    EXPECT_TRUE(control("下移 Alpha")->enabled);
    EXPECT_TRUE(control("上移 Beta")->enabled);
    EXPECT_FALSE(control("下移 Beta")->enabled);
    EXPECT_EQ(hosting().press("上移 Alpha"), declarative::Outcome::disabled);

    values["preferences"]["pinned"] = json::array({pinnedApp("com.a", "Alpha")});
    update(values);
    EXPECT_FALSE(control("上移 Alpha")->enabled);
    EXPECT_FALSE(control("下移 Alpha")->enabled);
    EXPECT_TRUE(control("取消固定 Alpha")->enabled);
    EXPECT_EQ(control("上移 Alpha")->toolTip, "上移 Alpha");
    EXPECT_EQ(events(), json::array());
}

// Tests the policy picker: it shows the app's policy (one outside the three
// as "always"), sends the choice without changing the row, and choosing what
// the app already has sends nothing.
TEST_F(SettingsEventsTest, PolicyPicker) {
    values["preferences"]["pinned"] = json::array({pinnedApp("com.a", "Alpha", "sometimes"), pinnedApp("com.b", "Beta", "running")});
    update(values);
    EXPECT_EQ(control("Alpha 的入口策略")->selection, "always");
    EXPECT_EQ(control("Alpha 的入口策略")->toolTip, "Alpha 的入口策略");
    EXPECT_EQ(control("Beta 的入口策略")->selection, "running");
    pick("Beta 的入口策略", "运行时让位");
    pick("Beta 的入口策略", "自动");
    EXPECT_EQ(control("Beta 的入口策略")->selection, "running") << "the row waits for the host's list";
    pick("Alpha 的入口策略", "始终显示");
    EXPECT_EQ(events(), json::array({{{"kind", "policy"}, {"app", appOf("com.b", "Beta", "running")}, {"value", "auto"}},
                                     {{"kind", "policy"}, {"app", appOf("com.a", "Alpha", "sometimes")}, {"value", "always"}}}));
}

// Tests that events of a controller that never started are dropped, and that
// from start on each reaches the queue.
TEST_F(SettingsTest, EventsBeforeStartAreDropped) {
    load(scene(json::array()));
    controller = NativeController::create();
    controllerSlot() = controller;
    update(fullUpdate(json::array({pinnedApp("com.a", "Alpha")})));
    send("settingsShow");
    press("打开 Alpha");
    EXPECT_EQ(controller->queuedEvents(), 0u);
    controller->start();
    press("打开 Alpha");
    EXPECT_EQ(eventKinds(), (std::vector<std::string>{"launch"}));
}

}  // namespace
}  // namespace orvane::testing
