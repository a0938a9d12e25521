// Tests that on the demo Mac (default scene, demo disk) the Dock and
// catalogue commands answer as a person who knows the Mac would expect.

#include <gtest/gtest.h>

#include <algorithm>

#include "desktop/Desktop.h"
#include "tests/support/Call.h"

namespace {

using nlohmann::json;
using orvane::test::call;
using orvane::test::data;

class DemoMacCommandsTest : public ::testing::Test {
protected:
    void SetUp() override { desktop::reset(desktop::defaultScene(), desktop::Clock::manual); }
    void TearDown() override { call("stop"); }

    static std::vector<std::string> field(const json& records, const char* key) {
        std::vector<std::string> values;
        for (const auto& record : records) values.push_back(record[key]);
        return values;
    }
};

// Tests that import reads the lived-in Dock list: the Finder first, a moved
// Slack found again, spacer and folder tiles and a deleted app reported.
TEST_F(DemoMacCommandsTest, ImportReadsTheDockList) {
    json imported = data("import");
    EXPECT_EQ(field(imported["apps"], "name"), (std::vector<std::string>{"Finder", "Safari", "邮件", "备忘录", "音乐", "Visual Studio Code",
                                                                        "终端", "Slack", "Dropbox", "系统设置"}))
        << "the Dock keeps its labels in the system's language; the Finder's is fixed";
    EXPECT_EQ(imported["apps"][0], json({{"id", "com.apple.finder"}, {"name", "Finder"},
                                         {"path", "/System/Library/CoreServices/Finder.app"}, {"policy", "always"}}));
    EXPECT_EQ(imported["apps"][5]["path"], "/Applications/Visual Studio Code.app");
    EXPECT_EQ(imported["apps"][7]["path"], "/Applications/Slack.app");
    EXPECT_EQ(imported["skipped"], json({"非应用条目", "Sketch（已不存在）", "非应用条目"}));
    EXPECT_EQ(imported["sourceCount"], 12);
    EXPECT_EQ(imported["readable"], true);
}

// Tests that installed lists each application once, by name, without
// bundles inside bundles, hidden ones, or the older copy in the home folder.
TEST_F(DemoMacCommandsTest, InstalledListsTheApplications) {
    json installed = data("installed");
    auto paths = field(installed, "path");
    auto has = [&](const std::string& path) { return std::find(paths.begin(), paths.end(), path) != paths.end(); };
    EXPECT_TRUE(has("/Applications/Safari.app"));
    EXPECT_TRUE(has("/System/Applications/Utilities/Terminal.app"));
    EXPECT_TRUE(has("/Applications/Utilities/Tunnelblick.app"));
    EXPECT_TRUE(has("/Users/demo/Applications/Tot.app"));
    EXPECT_TRUE(has("/System/Library/CoreServices/Applications/Archive Utility.app"));
    EXPECT_TRUE(has("/System/Library/CoreServices/Finder.app"));
    EXPECT_FALSE(has("/Applications/Xcode.app/Contents/Applications/Instruments.app"));
    EXPECT_FALSE(has("/Applications/.Hidden Helper.app"));
    EXPECT_FALSE(has("/Users/demo/Applications/Visual Studio Code.app"));
    EXPECT_EQ(installed[0]["name"], "Dropbox");
    EXPECT_EQ(installed.back()["name"], "音乐") << "Han names after Latin ones";
    // The system's own applications go by their names in the system's
    // language, as the Dock and the pinned list show them; the Finder keeps its own.
    auto names = field(installed, "name");
    for (const char* name : {"Finder", "邮件", "备忘录", "终端", "活动监视器", "网易云音乐"})
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    for (const auto& record : installed) {
        if (record["name"] == "Legacy Tool") {
            EXPECT_EQ(record["id"], "/Applications/Legacy Tool.app");
        }
        EXPECT_EQ(record["policy"], record["name"] == "Finder" ? "always" : "auto");
    }
}

// Tests that hiding the Dock and restoring the saved state round-trips, the
// Dock restarts each time, and its application list is untouched.
TEST_F(DemoMacCommandsTest, DockWriteAndRestore) {
    json saved = data("dockRead");
    EXPECT_EQ(saved, json({{"autohide", false}, {"autohide-delay", nullptr}}));
    json before = data("import");
    json hidden = {{"autohide", true}, {"autohide-delay", 315360000.0}};
    EXPECT_EQ(data("dockWrite", hidden), hidden);
    EXPECT_EQ(desktop::state()["disk"]["dock"]["preferences"], hidden);
    EXPECT_EQ(data("dockWrite", saved), saved);
    EXPECT_EQ(desktop::state()["disk"]["dock"]["reloads"], 2);
    EXPECT_EQ(data("import"), before);
    EXPECT_EQ(call("dockWrite", {{"autohide", true}}), json({{"ok", false}, {"error", "Dock 设置缺少备份字段"}}));
    EXPECT_EQ(data("dockRead"), saved);
}

}  // namespace
