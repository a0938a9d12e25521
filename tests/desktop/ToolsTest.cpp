// Tests of the simulated system's command-line tools: killall acts on the
// simulated processes only, and nothing real ever runs.

#include <gtest/gtest.h>

#include "desktop/Desktop.h"
#include "platform/Tools.h"
#include "tests/desktop/TemporaryDisk.h"

namespace {

using nlohmann::json;
using orvane::test::TemporaryDisk;

json diskLog() { return desktop::state()["disk"]; }

// Tests that killall Dock exits 0 and the Dock restarts and reads its
// preferences from disk, and that it exits 1 when no Dock runs.
TEST(Tools, KillallRestartsARunningDock) {
    TemporaryDisk disk;
    disk.writeDockPreferences({{"autohide", true}, {"autohide-delay", 315360000.0}, {"tilesize", 48}});
    desktop::reset(disk.scene({{"apps", {orvane::test::runningDock()}}}));
    EXPECT_EQ(std::get<int>(platform::tools().run("/usr/bin/killall", {"Dock"})), 0);
    json log = diskLog();
    EXPECT_EQ(log["dock"]["reloads"], 1);
    EXPECT_EQ(log["dock"]["preferences"], json({{"autohide", true}, {"autohide-delay", 315360000.0}}));
    EXPECT_EQ(log["toolRuns"][0], json({{"executable", "/usr/bin/killall"}, {"arguments", {"Dock"}}, {"outcome", {{"status", 0}}}}));

    EXPECT_EQ(std::get<int>(platform::tools().run("/usr/bin/killall", {"NoSuchProcess"})), 1);
    EXPECT_EQ(std::get<int>(platform::tools().run("/usr/bin/killall", {})), 1);

    desktop::reset(disk.scene());
    EXPECT_EQ(std::get<int>(platform::tools().run("/usr/bin/killall", {"Dock"})), 1) << "no Dock runs";
    EXPECT_EQ(diskLog()["dock"]["reloads"], 0);
}

// Tests that the scene can make the launch fail, and that an executable the
// simulated system does not have fails to launch instead of running here.
TEST(Tools, LaunchFailuresCarryThePlatformError) {
    TemporaryDisk disk;
    json failure = {{"domain", "NSPOSIXErrorDomain"}, {"code", 13}, {"description", "权限被拒绝"}};
    desktop::reset(disk.scene({{"apps", {orvane::test::runningDock()}}, {"tools", {{"killallLaunchFails", failure}}}}));
    auto outcome = platform::tools().run("/usr/bin/killall", {"Dock"});
    ASSERT_TRUE(std::holds_alternative<platform::Error>(outcome));
    const auto& error = std::get<platform::Error>(outcome);
    EXPECT_EQ(error.domain, "NSPOSIXErrorDomain");
    EXPECT_EQ(error.code, 13);
    EXPECT_EQ(error.description, "权限被拒绝");
    EXPECT_EQ(diskLog()["dock"]["reloads"], 0);

    desktop::reset(disk.scene({{"tools", {{"killallLaunchFails", "not an object"}}}}));
    EXPECT_EQ(std::get<int>(platform::tools().run("/usr/bin/killall", {"Dock"})), 1) << "bad settings are ignored";
    EXPECT_TRUE(std::holds_alternative<platform::Error>(platform::tools().run("/bin/rm", {"-rf", "/"})));
}

}  // namespace
