// Tests of reading the Dock's application list for import: which tiles
// become app records, which are reported as skipped, and the Finder first.

#include <gtest/gtest.h>

#include "desktop/Desktop.h"
#include "dock/DockImport.h"
#include "tests/desktop/TemporaryDisk.h"

namespace {

using nlohmann::json;
using orvane::test::TemporaryDisk;

const std::string finderPath = "/System/Library/CoreServices/Finder.app";

json tile(const json& fileData, const json& extra = json::object(), const std::string& type = "file-tile") {
    json data = extra;
    data["file-data"] = fileData;
    return {{"tile-type", type}, {"tile-data", data}};
}

json appTile(const std::string& location, const std::string& label, const std::string& bundleIdentifier = "") {
    json extra = {{"file-label", label}};
    if (!bundleIdentifier.empty()) extra["bundle-identifier"] = bundleIdentifier;
    return tile({{"_CFURLString", location}, {"_CFURLStringType", location.starts_with("file:") ? 15 : 0}}, extra);
}

json record(const std::string& id, const std::string& name, const std::string& path, const std::string& policy = "auto") {
    return {{"id", id}, {"name", name}, {"path", path}, {"policy", policy}};
}

class DockImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        disk.writeBundle(finderPath, "com.apple.finder");
        disk.writeBundle("/Applications/Tool.app", "com.example.tool");
        disk.writeBundle("/Applications/Visual Studio Code.app", "com.microsoft.VSCode", true);
        disk.writeBundle("/Applications/Slack.app", "com.tinyspeck.slackmacgap");
        disk.writeBundle("/Applications/Renamed.APP", "com.example.real-id");
        disk.writeBundle("/Applications/NoId.app", "");
    }

    json import(const json& persistentApps, const json& scene = json::object()) {
        json preferences = {{"tilesize", 48}};
        if (!persistentApps.is_null()) preferences["persistent-apps"] = persistentApps;
        disk.writeDockPreferences(preferences);
        json fullScene = scene;
        if (!fullScene.contains("apps")) {
            fullScene["apps"] = {{{"bundleId", "com.apple.finder"}, {"name", "Finder"}, {"path", finderPath}}};
        }
        desktop::reset(disk.scene(fullScene));
        return dock::dockImport();
    }

    TemporaryDisk disk;
};

// Tests that anything but a usable file tile is reported: folder, URL and
// spacer tiles, tiles missing a level, wrong types, non-app locations.
TEST_F(DockImportTest, UnusableTilesAreSkipped) {
    json tiles = {
        {{"tile-type", "spacer-tile"}, {"tile-data", json::object()}},
        {{"tile-type", "small-spacer-tile"}},
        tile({{"_CFURLString", "file:///Users/demo/Downloads/"}}, {{"file-label", "下载"}}, "directory-tile"),
        tile({{"_CFURLString", "https://example.com/"}}, {{"file-label", "网页"}}, "url-tile"),
        {{"tile-type", "file-tile"}},
        {{"tile-type", "file-tile"}, {"tile-data", "not a dictionary"}},
        {{"tile-type", "file-tile"}, {"tile-data", {{"file-label", "无位置"}}}},
        tile({{"_CFURLString", 42}}, {{"file-label", "数字"}}),
        {{"tile-type", 7}, {"tile-data", {{"file-data", {{"_CFURLString", "file:///Applications/Tool.app/"}}}}}},
        appTile("file:///Users/demo/Documents/notes.txt", "笔记"),
        appTile("file:///Applications/Bad Name.app/", "空格"),
        appTile("file:///Applications/Bad%ZZ.app/", "坏转义"),
        // Not a "file:" string: taken as a path, which does not exist.
        appTile("https://example.com/Tool.app", "网址"),
        appTile("/Applications", "文件夹"),
    };
    json result = import(tiles);
    EXPECT_EQ(result["skipped"], json({"非应用条目", "非应用条目", "非应用条目", "非应用条目", "非应用条目", "非应用条目", "非应用条目",
                                       "非应用条目", "非应用条目", "笔记", "空格", "坏转义", "网址（已不存在）", "文件夹"}));
    EXPECT_EQ(result["apps"], json::array({record("com.apple.finder", "Finder", finderPath, "always")}));
    EXPECT_EQ(result["sourceCount"], tiles.size());
    EXPECT_EQ(result["readable"], true);
}

// Tests the locations that do work: file URLs with a trailing slash or a
// host, plain paths with percent escapes, an application moved elsewhere and
// found again by its identifier, and one that is gone for good.
TEST_F(DockImportTest, LocationsResolveToBundles) {
    json result = import(
        {
            appTile("file:///Applications/Tool.app/", "Tool"),
            appTile("/Applications/Visual%20Studio%20Code.app", "Visual Studio Code"),
            appTile("file:///Users/demo/Downloads/Slack.app/", "Slack", "com.tinyspeck.slackmacgap"),
            appTile("file:///Applications/Sketch.app/", "Sketch", "com.bohemiancoding.sketch3"),
            appTile("file:///Applications/Gone.app/", "Gone"),
            appTile("file://localhost/Applications/Renamed.APP", "Renamed", "com.example.tile-id"),
            appTile("/Applications/NoId.app/", "NoId", "com.example.remembered"),
            appTile("/Applications/Visual%2GStudio.app", "Undecodable"),
        },
        {{"apps", {{{"bundleId", "com.apple.finder"}, {"name", "Finder"}, {"path", finderPath}}}},
         {"launchServices", {{"com.tinyspeck.slackmacgap", "/Applications/Slack.app"}}}});
    EXPECT_EQ(result["apps"], json::array({
                                  record("com.apple.finder", "Finder", finderPath, "always"),
                                  record("com.example.tool", "Tool", "/Applications/Tool.app"),
                                  record("com.microsoft.VSCode", "Visual Studio Code", "/Applications/Visual Studio Code.app"),
                                  record("com.tinyspeck.slackmacgap", "Slack", "/Applications/Slack.app"),
                                  record("com.example.real-id", "Renamed", "/Applications/Renamed.APP"),
                                  record("com.example.remembered", "NoId", "/Applications/NoId.app"),
                              }));
    EXPECT_EQ(result["skipped"], json({"Sketch（已不存在）", "Gone（已不存在）", "Undecodable（已不存在）"}));
}

// Tests that duplicates are dropped silently, a tile without a label gets
// the default name, and a Finder tile keeps its place and policy.
TEST_F(DockImportTest, DuplicatesLabelsAndTheFinder) {
    json result = import({
        appTile("file:///Applications/Tool.app/", "Tool"),
        tile({{"_CFURLString", "file:///Applications/Slack.app/"}}),
        appTile("file:///System/Library/CoreServices/Finder.app/", "访达"),
        appTile("/Applications/Tool.app", "Tool again"),
        appTile("/Applications/NoId.app", "NoId"),
        appTile("file:///Applications/NoId.app/", "NoId twice"),
    });
    EXPECT_EQ(result["apps"], json::array({
                                  record("com.example.tool", "Tool", "/Applications/Tool.app"),
                                  record("com.tinyspeck.slackmacgap", "未知应用", "/Applications/Slack.app"),
                                  record("com.apple.finder", "访达", finderPath),
                                  record("/Applications/NoId.app", "NoId", "/Applications/NoId.app"),
                              }));
    EXPECT_EQ(result["skipped"], json::array());
    EXPECT_EQ(result["sourceCount"], 6);
}

// Tests the shapes of an unreadable or odd list: missing, not an array, an
// array holding something other than tiles; and no Finder when the
// workspace does not know it.
TEST_F(DockImportTest, MissingOrOddListsCountAsEmpty) {
    json finderOnly = json::array({record("com.apple.finder", "Finder", finderPath, "always")});
    json missing = import(nullptr);
    EXPECT_EQ(missing, json({{"apps", finderOnly}, {"skipped", json::array()}, {"sourceCount", 0}, {"readable", false}}));
    json notArray = import({{"tile-type", "file-tile"}});
    EXPECT_EQ(notArray, json({{"apps", finderOnly}, {"skipped", json::array()}, {"sourceCount", 0}, {"readable", true}}));
    json mixed = import({appTile("file:///Applications/Tool.app/", "Tool"), "stray"});
    EXPECT_EQ(mixed["sourceCount"], 0);
    EXPECT_EQ(mixed["apps"], finderOnly);

    json noFinder = import(json::array({appTile("file:///Applications/Tool.app/", "Tool")}), {{"apps", json::array()}});
    EXPECT_EQ(noFinder["apps"], json::array({record("com.example.tool", "Tool", "/Applications/Tool.app")}));

    disk.write("/Users/demo/Library/Preferences/com.apple.dock.plist", "corrupt");
    desktop::reset(disk.scene());
    EXPECT_EQ(dock::dockImport()["readable"], false);
}

// Tests that a location whose path decodes to a NUL names no application,
// although the part before the NUL does: the system would cut the path there.
TEST_F(DockImportTest, LocationsHoldingNulAreNotApplications) {
    json result = import(json::array({appTile("file:///Applications/Tool.app%00/Slack.app/", "截断"),
                                       appTile("/Applications/Tool.app%00.app", "截断路径"),
                                       appTile("file:///Applications/Slack.app/", "Slack")}));
    EXPECT_EQ(result["skipped"], json({"截断", "截断路径"}));
    ASSERT_EQ(result["apps"].size(), 2u) << result.dump();
    EXPECT_EQ(result["apps"][1], record("com.tinyspeck.slackmacgap", "Slack", "/Applications/Slack.app"));
}

}  // namespace
