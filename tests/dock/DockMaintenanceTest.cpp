// Tests of keep-hidden calibration: when it reads, when it writes and
// restarts the Dock, and how often a failure becomes an error event.

#include <gtest/gtest.h>

#include "desktop/Desktop.h"
#include "dock/DockMaintenance.h"
#include "dock/DockPreferences.h"
#include "tests/desktop/TemporaryDisk.h"

namespace {

using nlohmann::json;
using orvane::test::TemporaryDisk;

const std::string dockFile = "/Users/demo/Library/Preferences/com.apple.dock.plist";
const std::string saveFailed = "Dock 隐藏校准失败：无法保存 Dock 设置";

class DockMaintenanceTest : public ::testing::Test {
protected:
    void SetUp() override { desktop::reset(disk.scene({{"apps", {orvane::test::runningDock()}}})); }

    // One calibration, as a timer tick runs it.
    void tick(bool persistent = true, bool qaMode = false) {
        maintenance.maintainDock(persistent, qaMode, [this](const std::string& message) { events.push_back(message); });
    }
    json log() { return desktop::state()["disk"]; }

    TemporaryDisk disk;
    dock::DockMaintenance maintenance;
    std::vector<std::string> events;
};

// Tests that calibration does nothing while persistent hiding is off or in
// acceptance mode, whatever the Dock's state, and what the status says.
TEST_F(DockMaintenanceTest, OffOrAcceptanceModeTouchesNothing) {
    tick(false);
    tick(true, true);
    EXPECT_FALSE(disk.exists(dockFile));
    EXPECT_TRUE(log()["toolRuns"].empty());
    EXPECT_EQ(maintenance.dockStatus(false, false), "未开启");
    EXPECT_EQ(maintenance.dockStatus(true, true), "验收模式 · 禁用系统写入");
    EXPECT_EQ(maintenance.dockStatus(false, true), "验收模式 · 禁用系统写入");
    EXPECT_EQ(maintenance.dockStatus(true, false), "正在校准");

}

// Tests that a hidden Dock costs one read and no restart, and that a delay
// the user set back by hand is written again with a restart.
TEST_F(DockMaintenanceTest, WritesOnlyWhenTheValuesChanged) {
    disk.writeDockPreferences({{"autohide", true}, {"autohide-delay", 315360000}, {"tilesize", 48}});
    tick();
    EXPECT_TRUE(log()["toolRuns"].empty());
    EXPECT_TRUE(log()["preferenceWrites"].empty());
    EXPECT_EQ(maintenance.dockStatus(true, false), "已隐藏 · 自动保持");

    disk.writeDockPreferences({{"autohide", true}, {"autohide-delay", 0}, {"tilesize", 48}});
    EXPECT_EQ(maintenance.dockStatus(true, false), "正在校准");
    tick();
    EXPECT_EQ(log()["toolRuns"].size(), 1u);
    EXPECT_EQ(log()["dock"]["preferences"], json({{"autohide", true}, {"autohide-delay", 315360000.0}}));
    EXPECT_EQ(disk.readDockPreferences()["tilesize"], 48);
    EXPECT_EQ(maintenance.dockError(), "");
    EXPECT_TRUE(events.empty());
    tick();
    EXPECT_EQ(log()["toolRuns"].size(), 1u) << "hidden again: nothing more to write";
}

// Tests that a failure repeating on every tick yields one event while the
// error stays, that success clears it, and that the next failure is
// reported again.
TEST_F(DockMaintenanceTest, RepeatedFailureIsReportedOnce) {
    disk.write(dockFile, "garbage");
    for (int i = 0; i < 4; ++i) tick();
    EXPECT_EQ(events, std::vector<std::string>{saveFailed});
    EXPECT_EQ(maintenance.dockError(), saveFailed);
    EXPECT_EQ(disk.read(dockFile), "garbage");

    disk.writeDockPreferences({{"autohide", false}});
    tick();
    EXPECT_EQ(maintenance.dockError(), "");
    disk.write(dockFile, "garbage again");
    tick();
    tick();
    EXPECT_EQ(events, (std::vector<std::string>{saveFailed, saveFailed}));

    // A different failure is a new event; a restart failure saved the values,
    // so the next calibration finds the Dock hidden and clears the error.
    disk.writeDockPreferences({{"autohide", false}});
    desktop::reset(disk.scene());
    tick();
    EXPECT_EQ(events.back(), "Dock 隐藏校准失败：设置已保存，但 Dock 未能刷新。请注销后重新登录。");
    EXPECT_EQ(events.size(), 3u);
    tick();
    EXPECT_EQ(maintenance.dockError(), "");
    EXPECT_EQ(events.size(), 3u);
}

}  // namespace
