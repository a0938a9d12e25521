// Tests of the command table through the library's entry point: argument
// rules, commands without a controller, and the controller slot.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "tests/desktop/TemporaryDisk.h"
#include "tests/support/Call.h"

namespace orvane::test {
namespace {

using nlohmann::json;

class CommandTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        desktop::reset(disk.scene({{"apps", {runningDock()}}}), desktop::Clock::manual);
    }
    void TearDown() override { call("stop"); }

    TemporaryDisk disk;
};

// Tests that every command that needs the controller succeeds without one, with the table's empty results.
TEST_F(CommandTableTest, CommandsWithoutControllerSucceedEmpty) {
    for (const char* name : {"configure", "settingsUpdate", "settingsShow", "settingsHide", "settingsTab",
                             "qaSelfPreview", "appearance", "capture", "launch", "all", "dockSuspend",
                             "previewStep", "closeCard", "scroll", "hover", "stop", "screenPermission",
                             "screenRetry", "reveal"}) {
        EXPECT_EQ(call(name, {{"dark", true}, {"index", 0}, {"path", "/Applications/Safari.app"}, {"directory", "/tmp"}}),
                  json({{"ok", true}, {"data", json::object()}}))
            << name;
    }
    EXPECT_EQ(data("snapshot"), json::object());
    EXPECT_EQ(data("events"), json::array());
    const json trust = data("permission");
    ASSERT_TRUE(trust.is_object());
    EXPECT_EQ(trust.size(), 1u);
    EXPECT_TRUE(trust["trusted"].is_boolean());
    EXPECT_TRUE(data("installed").is_array());
    EXPECT_TRUE(data("import").is_object());
    EXPECT_EQ(data("dockRead"), json({{"autohide", nullptr}, {"autohide-delay", nullptr}}));
}

// Tests that a second start replaces the controller, and that configure and events reach only the new one.
TEST_F(CommandTableTest, SecondStartReplacesTheController) {
    data("start");
    data("configure", {{"maxIcons", 7}, {"pinned", json::array()}});
    data("all");
    EXPECT_EQ(data("snapshot")["lastAction"], "all");
    data("start");
    EXPECT_EQ(data("snapshot")["lastAction"], "") << "a fresh controller";
    EXPECT_EQ(desktop::state()["statusItems"].size(), 1u) << "the first controller's status item is gone";
    data("stop");
    EXPECT_EQ(data("snapshot"), json::object());
    EXPECT_TRUE(desktop::state()["statusItems"].empty());
}

// Tests that dockWrite is refused in acceptance mode with the exact reply, and allowed without a controller.
TEST_F(CommandTableTest, DockWriteRefusedOnlyInAcceptanceMode) {
    data("start", {{"qaMode", true}});
    const json hidden = {{"autohide", true}, {"autohide-delay", 315360000.0}};
    EXPECT_EQ(callText(R"({"command":"dockWrite","args":{"autohide":true,"autohide-delay":315360000.0}})"),
              R"({"error":"验收模式禁用 Dock 写入","ok":false})");
    EXPECT_EQ(data("dockRead"), json({{"autohide", nullptr}, {"autohide-delay", nullptr}}));
    EXPECT_EQ(data("snapshot")["dockStatus"], "验收模式 · 禁用系统写入");
    data("stop");
    EXPECT_EQ(data("dockWrite", hidden), hidden);
    EXPECT_EQ(data("dockRead"), hidden);
}

// Tests that arguments count only with their exact JSON type and otherwise take the default.
TEST_F(CommandTableTest, ArgumentsNeedTheirExactType) {
    data("start");
    data("configure", {{"maxIcons", 2},
                       {"pinned",
                        {{{"path", "/Applications/A.app"}}, {{"path", "/Applications/B.app"}},
                         {{"path", "/Applications/C.app"}}, {{"path", "/Applications/D.app"}}}},
                       {"showRunning", false}});
    ASSERT_EQ(data("snapshot")["visible"].size(), 4u);
    data("scroll", {{"step", "2"}});
    EXPECT_EQ(data("snapshot")["offset"], 1) << "a string step counts as missing: one step";
    data("scroll", {{"step", 1.0}});
    EXPECT_EQ(data("snapshot")["offset"], 2) << "a real step counts as missing: one step";
    data("scroll", {{"step", -9223372036854775807LL - 1}});
    EXPECT_EQ(data("snapshot")["offset"], 0);
    data("scroll", {{"step", 18446744073709551615ULL}});
    EXPECT_EQ(data("snapshot")["offset"], 2) << "huge steps saturate at the last page";

    data("permission", {{"prompt", 1}});
    EXPECT_EQ(desktop::state()["accessibility"]["prompts"], 0) << "a number is not the boolean prompt";
    data("permission", {{"prompt", true}});
    EXPECT_EQ(desktop::state()["accessibility"]["prompts"], 1);

    for (const json& index : {json(4), json(-1), json(9223372036854775807LL), json(18446744073709551615ULL),
                              json(0.0), json("0"), json(nullptr)}) {
        data("hover", {{"index", index}});
    }
    data("launch", {{"path", ""}});
    data("launch", {{"id", "com.x"}});
    data("launch", {{"path", 5}});
    EXPECT_EQ(data("events"), json::array()) << "launches without a usable path do nothing";
    EXPECT_EQ(data("snapshot")["lastAction"], "");
}

// Tests that events drain oldest first and a second drain is empty.
TEST_F(CommandTableTest, EventsDrainOnce) {
    data("start");
    data("launch", {{"path", "/Applications/Gone.app"}, {"name", "Gone"}});
    data("launch", {{"path", "/Applications/Lost.app"}, {"name", "Lost"}});
    const json events = data("events");
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0]["message"], "找不到 Gone，请在设置中移除或重新导入。");
    EXPECT_EQ(events[1]["message"], "找不到 Lost，请在设置中移除或重新导入。");
    EXPECT_EQ(data("events"), json::array());
}

}  // namespace
}  // namespace orvane::test
