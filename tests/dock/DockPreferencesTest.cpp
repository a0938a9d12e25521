// Tests of reading, testing and writing the Dock's auto-hide preferences on
// the simulated Mac, with the Dock restart through killall.

#include <gtest/gtest.h>
#include <plist/plist.h>

#include "desktop/Desktop.h"
#include "desktop/propertylist/PropertyList.h"
#include "dock/DockPreferences.h"
#include "tests/desktop/TemporaryDisk.h"

namespace {

using nlohmann::json;
using orvane::test::TemporaryDisk;

const json nullState = {{"autohide", nullptr}, {"autohide-delay", nullptr}};
const std::string dockFile = "/Users/demo/Library/Preferences/com.apple.dock.plist";

// The user's Dock, with keys of every type that no write may disturb.
json livedInDock() {
    return {{"autohide", false},
            {"tilesize", 48},
            {"largesize", 64.0},
            {"orientation", "left"},
            {"magnification", true},
            {"mod-count", 37},
            {"persistent-apps",
             {{{"tile-type", "file-tile"},
               {"GUID", 1021},
               {"tile-data",
                {{"file-label", "Safari"},
                 {"file-data", {{"_CFURLString", "file:///Applications/Safari.app/"}, {"_CFURLStringType", 15}}},
                 {"book", {{"$plist", "data"}, {"base64", "Ym9va4gCAAA="}}}}}}}},
            {"last-reset", {{"$plist", "date"}, {"seconds", 700000000.0}}}};
}

// A Dock file whose key "nest" holds arrays nested until the file has the
// given number of containers (the top dictionary counts), the innermost
// holding the integer 1. Built with libplist: our writer has its own limit.
std::string nestedDock(int containers) {
    plist_t root = plist_new_dict();
    plist_dict_set_item(root, "autohide", plist_new_bool(0));
    plist_t node = plist_new_array();
    plist_dict_set_item(root, "nest", node);
    for (int level = 2; level < containers; ++level) {
        plist_t child = plist_new_array();
        plist_array_append_item(node, child);
        node = child;
    }
    plist_array_append_item(node, plist_new_uint(1));
    char* out = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &out, &length);
    std::string bytes(out, length);
    plist_to_bin_free(out);
    plist_free(root);
    return bytes;
}

class DockPreferencesTest : public ::testing::Test {
protected:
    void start(const json& extra = {{"apps", {orvane::test::runningDock()}}}) { desktop::reset(disk.scene(extra)); }
    json log() { return desktop::state()["disk"]; }

    TemporaryDisk disk;
};

// Tests that a Dock without the keys reads as two nulls, and that a read sees
// what another process wrote since the last read.
TEST_F(DockPreferencesTest, ReadsWhatTheStoreHolds) {
    start();
    EXPECT_EQ(dock::dockRead(), nullState);
    disk.writeDockPreferences({{"autohide", true}, {"autohide-delay", 0.5}, {"tilesize", 48}});
    EXPECT_EQ(dock::dockRead(), json({{"autohide", true}, {"autohide-delay", 0.5}}));
    disk.writeDockPreferences({{"autohide", true}, {"autohide-delay", 315360000}});
    json state = dock::dockRead();
    EXPECT_TRUE(state["autohide-delay"].is_number_integer()) << "passed through unchanged";
    EXPECT_TRUE(dock::dockIsHidden(state));
}

// Tests the hidden test against exact values: integer and real delays count,
// anything else does not.
TEST_F(DockPreferencesTest, HiddenTestIsExact) {
    EXPECT_TRUE(dock::dockIsHidden({{"autohide", true}, {"autohide-delay", 315360000}}));
    EXPECT_TRUE(dock::dockIsHidden({{"autohide", true}, {"autohide-delay", 315360000.0}}));
    EXPECT_TRUE(dock::dockIsHidden({{"autohide", 1}, {"autohide-delay", 315360000.0}}));
    EXPECT_FALSE(dock::dockIsHidden({{"autohide", true}, {"autohide-delay", 315359999}}));
    EXPECT_FALSE(dock::dockIsHidden({{"autohide", true}, {"autohide-delay", 315360000.000001}}));
    EXPECT_FALSE(dock::dockIsHidden({{"autohide", false}, {"autohide-delay", 315360000}}));
    EXPECT_FALSE(dock::dockIsHidden({{"autohide", true}}));
    EXPECT_FALSE(dock::dockIsHidden({{"autohide", "true"}, {"autohide-delay", 315360000}}));
    EXPECT_FALSE(dock::dockIsHidden({{"autohide", true}, {"autohide-delay", "315360000"}}));
    EXPECT_FALSE(dock::dockIsHidden(json::object()));
    EXPECT_FALSE(dock::dockIsHidden(nullState));
    EXPECT_FALSE(dock::dockIsHidden(json::array({true, 315360000})));
}

// Tests that writes keep every other key of the Dock with its type over
// several rounds, that null removes a key, and that the Dock restarts and
// reads the new values each time.
TEST_F(DockPreferencesTest, WritesKeepEveryOtherKey) {
    disk.writeDockPreferences(livedInDock());
    start();
    json saved = dock::dockRead();
    EXPECT_EQ(saved, json({{"autohide", false}, {"autohide-delay", nullptr}}));

    ASSERT_TRUE(dock::dockWrite(dock::dockHiddenValues()).ok());
    json stored = disk.readDockPreferences();
    EXPECT_EQ(stored["autohide"], true);
    EXPECT_TRUE(stored["autohide-delay"].is_number_float());
    EXPECT_EQ(stored["autohide-delay"].get<double>(), 315360000.0);
    EXPECT_EQ(log()["dock"]["preferences"], dock::dockHiddenValues());

    ASSERT_TRUE(dock::dockWrite({{"autohide", nullptr}, {"autohide-delay", nullptr}, {"ignored", 1}}).ok());
    EXPECT_EQ(dock::dockRead(), nullState);
    ASSERT_TRUE(dock::dockWrite({{"autohide", true}, {"autohide-delay", 2}}).ok());
    ASSERT_TRUE(dock::dockWrite(saved).ok()) << "the saved state restores the user's values";

    json expected = livedInDock();
    EXPECT_EQ(disk.readDockPreferences(), expected) << "every other key survives, with its type";
    EXPECT_TRUE(disk.readDockPreferences()["largesize"].is_number_float());
    EXPECT_EQ(log()["dock"]["reloads"], 4);
    EXPECT_EQ(log()["preferenceWrites"]["com.apple.dock"], 4);
}

// Tests the failures in their order: missing keys fail with code 1 before
// anything is set, an unsavable store with code 2 before any restart, a Dock
// that does not restart with code 3 after the values were saved.
TEST_F(DockPreferencesTest, WriteFailuresComeInOrder) {
    start();
    for (const json& values : {json::object(), json({{"autohide", true}}), json({{"autohide-delay", 1.0}}), json::array(), json("x")}) {
        auto result = dock::dockWrite(values);
        ASSERT_FALSE(result.ok()) << values.dump();
        EXPECT_EQ(result.error().domain, "Orvane");
        EXPECT_EQ(result.error().code, 1);
        EXPECT_EQ(result.error().message, "Dock 设置缺少备份字段");
    }
    EXPECT_EQ(dock::dockRead(), nullState) << "a refused write leaves nothing pending for a later read to save";
    EXPECT_FALSE(disk.exists(dockFile));
    EXPECT_TRUE(log()["toolRuns"].empty());

    const std::string corrupt = "<?xml version=\"1.0\"?><plist><dict><key>autohide</key>";
    disk.write(dockFile, corrupt);
    auto unsaved = dock::dockWrite(dock::dockHiddenValues());
    ASSERT_FALSE(unsaved.ok());
    EXPECT_EQ(unsaved.error().code, 2);
    EXPECT_EQ(unsaved.error().message, "无法保存 Dock 设置");
    EXPECT_EQ(disk.read(dockFile), corrupt) << "byte for byte";
    EXPECT_TRUE(log()["toolRuns"].empty()) << "the Dock is not restarted";

    disk.writeDockPreferences({{"tilesize", 48}});
    start(json::object());
    auto unrefreshed = dock::dockWrite(dock::dockHiddenValues());
    ASSERT_FALSE(unrefreshed.ok());
    EXPECT_EQ(unrefreshed.error().code, 3);
    EXPECT_EQ(unrefreshed.error().message, "设置已保存，但 Dock 未能刷新。请注销后重新登录。");
    EXPECT_TRUE(dock::dockIsHidden(dock::dockRead())) << "the values are saved";
    EXPECT_EQ(log()["toolRuns"][0]["arguments"], json({"Dock"}));

    EXPECT_EQ(dock::dockWriteRefusedInQaMode(), (platform::OrvaneError{"Orvane", 4, "验收模式禁用 Dock 写入"}));
}

// Tests that the reader and the writer accept the same files: a Dock file
// nested as deep as the reader goes is read, written and read back; one
// level deeper is neither read nor written, and the file stays as it was.
TEST_F(DockPreferencesTest, ReaderAndWriterAgreeOnNesting) {
    start();
    disk.write(dockFile, nestedDock(desktop::maxPropertyListDepth));
    EXPECT_EQ(dock::dockRead(), json({{"autohide", false}, {"autohide-delay", nullptr}}));
    ASSERT_TRUE(dock::dockWrite(dock::dockHiddenValues()).ok());
    EXPECT_TRUE(dock::dockIsHidden(dock::dockRead())) << "what was written reads back";
    json nest = disk.readDockPreferences()["nest"];
    int depth = 1;
    for (; nest.is_array(); nest = nest[0]) ++depth;
    EXPECT_EQ(depth, desktop::maxPropertyListDepth);
    EXPECT_EQ(nest, 1);

    const std::string tooDeep = nestedDock(desktop::maxPropertyListDepth + 1);
    disk.write(dockFile, tooDeep);
    EXPECT_EQ(dock::dockRead(), nullState);
    auto refused = dock::dockWrite(dock::dockHiddenValues());
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().code, 2);
    EXPECT_EQ(disk.read(dockFile), tooDeep) << "byte for byte";
}

// Tests that a restart tool that cannot be launched fails with the
// platform's own error, unchanged, after the values were saved.
TEST_F(DockPreferencesTest, LaunchErrorIsPassedOn) {
    start({{"apps", {orvane::test::runningDock()}},
           {"tools", {{"killallLaunchFails", {{"domain", "NSCocoaErrorDomain"}, {"code", 260}, {"description", "找不到“killall”。"}}}}}});
    auto result = dock::dockWrite({{"autohide", true}, {"autohide-delay", 0.0}});
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error(), (platform::OrvaneError{"NSCocoaErrorDomain", 260, "找不到“killall”。"}));
    EXPECT_EQ(dock::dockRead(), json({{"autohide", true}, {"autohide-delay", 0.0}}));
    EXPECT_EQ(log()["dock"]["reloads"], 0);
}

}  // namespace
