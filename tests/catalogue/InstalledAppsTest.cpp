// Tests of the installed-applications catalogue: the folders walked, which
// bundles count, which copy wins, and the Finder-like order.

#include <gtest/gtest.h>

#include "catalogue/InstalledApps.h"
#include "desktop/Desktop.h"
#include "tests/desktop/TemporaryDisk.h"

namespace {

using nlohmann::json;
using orvane::test::TemporaryDisk;

const std::string finderPath = "/System/Library/CoreServices/Finder.app";

json record(const std::string& id, const std::string& name, const std::string& path, const std::string& policy = "auto") {
    return {{"id", id}, {"name", name}, {"path", path}, {"policy", policy}};
}

class InstalledAppsTest : public ::testing::Test {
protected:
    json installed(bool finderKnown = true) {
        json apps = json::array();
        if (finderKnown) apps.push_back({{"bundleId", "com.apple.finder"}, {"name", "Finder"}, {"path", finderPath}});
        desktop::reset(disk.scene({{"apps", apps}}));
        return catalogue::installedApps();
    }

    std::vector<std::string> paths(const json& records) {
        std::vector<std::string> all;
        for (const auto& item : records) all.push_back(item["path"]);
        return all;
    }

    TemporaryDisk disk;
};

// Tests that names sort like the Finder's: digits as numbers, case ignored
// (ties by case, then found order), the Finder among the others.
TEST_F(InstalledAppsTest, SortsLikeTheFinder) {
    disk.writeBundle(finderPath, "com.apple.finder");
    disk.writeBundle("/Applications/Zebra.app", "com.example.zebra");
    disk.writeBundle("/Applications/App 10.app", "com.example.app10");
    disk.writeBundle("/Applications/App 2.app", "com.example.app2", true);
    disk.writeBundle("/Applications/Apple.app", "com.example.Apple");
    disk.writeBundle("/Applications/apple.app", "com.example.apple");
    disk.writeBundle("/Applications/Same.app", "com.example.same1");
    disk.writeBundle("/System/Applications/Same.app", "com.example.same2");
    disk.writeBundle("/Users/demo/Applications/same.app", "com.example.same3");
    disk.writeBundle("/System/Library/CoreServices/Applications/Archive Utility.app", "com.apple.archiveutility");

    json result = installed();
    EXPECT_EQ(result, json::array({
                          record("com.example.app2", "App 2", "/Applications/App 2.app"),
                          record("com.example.app10", "App 10", "/Applications/App 10.app"),
                          record("com.example.apple", "apple", "/Applications/apple.app"),
                          record("com.example.Apple", "Apple", "/Applications/Apple.app"),
                          record("com.apple.archiveutility", "Archive Utility", "/System/Library/CoreServices/Applications/Archive Utility.app"),
                          record("com.apple.finder", "Finder", finderPath, "always"),
                          record("com.example.same3", "same", "/Users/demo/Applications/same.app"),
                          record("com.example.same1", "Same", "/Applications/Same.app"),
                          record("com.example.same2", "Same", "/System/Applications/Same.app"),
                          record("com.example.zebra", "Zebra", "/Applications/Zebra.app"),
                      }));
}

// Tests which bundles count: the first copy of an identifier wins, bundles
// without one are listed by path, nested bundles and hidden entries are
// never listed, plain subfolders are entered, the extension test ignores case.
TEST_F(InstalledAppsTest, FirstCopyWinsAndPackagesAreNotEntered) {
    disk.writeBundle("/Applications/Code.app", "com.microsoft.VSCode");
    disk.writeBundle("/Users/demo/Applications/Code Old.app", "com.microsoft.VSCode");
    disk.writeBundle("/Applications/Sub/Deeper/Code Copy.app", "com.microsoft.VSCode");
    disk.writeBundle("/Applications/Xcode.app", "com.apple.dt.Xcode");
    disk.writeBundle("/Applications/Xcode.app/Contents/Applications/Instruments.app", "com.apple.dt.Instruments");
    disk.writeBundle("/Applications/Utilities/Tool.APP", "com.example.tool");
    disk.writeBundle("/Applications/.Hidden.app", "com.example.hidden");
    disk.writeBundle("/Applications/.hidden/Inside.app", "com.example.inside");
    disk.writeBundle("/Applications/First.app", "");
    disk.writeBundle("/Applications/Sub/Second.app", "");
    disk.write("/Applications/Broken.app/Contents/Info.plist", "bplist00 cut short");
    disk.write("/Applications/readme.txt", "not an app");

    json result = installed(false);
    EXPECT_EQ(paths(result), (std::vector<std::string>{"/Applications/Broken.app", "/Applications/Code.app", "/Applications/First.app",
                                                       "/Applications/Sub/Second.app", "/Applications/Utilities/Tool.APP",
                                                       "/Applications/Xcode.app"}));
    EXPECT_EQ(result[0]["id"], "/Applications/Broken.app");
    EXPECT_EQ(result[2]["id"], "/Applications/First.app");
    EXPECT_EQ(result[3]["id"], "/Applications/Sub/Second.app");
    EXPECT_EQ(result[4], record("com.example.tool", "Tool", "/Applications/Utilities/Tool.APP"));
}

// Tests that missing folders contribute nothing, that the Finder is listed
// once, and that a symlink loop in a folder does not hang the walk.
TEST_F(InstalledAppsTest, MissingFoldersAndLinkLoops) {
    EXPECT_EQ(installed(), json::array({record("com.apple.finder", "Finder", finderPath, "always")}));
    EXPECT_EQ(installed(false), json::array());

    disk.writeBundle("/System/Library/CoreServices/Applications/Finder Copy.app", "com.apple.finder");
    disk.makeFolder("/Applications/Loop");
    std::filesystem::create_directory_symlink(disk.real("/Applications"), disk.real("/Applications/Loop/Again"));
    json result = installed();
    EXPECT_EQ(result, json::array({record("com.apple.finder", "Finder Copy", "/System/Library/CoreServices/Applications/Finder Copy.app")}));
}

}  // namespace

namespace {

// Tests that an /Applications that links to "/" is the disk's own root, as
// on a Mac: the listing holds the bundles the disk holds, found under
// /Applications, and nothing of this machine's root; a link that climbs
// with ".." stops at the disk's root too.
TEST_F(InstalledAppsTest, LinkedApplicationsFolderStaysOnTheDisk) {
    disk.writeBundle("/Tools/Kit.app", "com.example.kit");
    std::filesystem::create_directory_symlink("/", disk.real("/Applications"));
    disk.makeFolder("/System/Applications");
    std::filesystem::create_directory_symlink("../../../../../../Tools", disk.real("/System/Applications/Up"));
    const json result = installed(false);
    EXPECT_EQ(result, json::array({record("com.example.kit", "Kit", "/Applications/Tools/Kit.app")}));
}

}  // namespace
