// Tests of the simulated Mac's file system: path folding under the disk
// root, the directory walk, bundle identifiers and the demo disk.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>

#include "desktop/Desktop.h"
#include "desktop/files/Disk.h"
#include "desktop/propertylist/PropertyList.h"
#include "platform/Files.h"
#include "tests/desktop/TemporaryDisk.h"

namespace {

using nlohmann::json;
using orvane::test::TemporaryDisk;

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override { desktop::reset(disk.scene()); }

    std::vector<std::string> walk(const std::string& root) {
        std::vector<std::string> seen;
        platform::files().walk(root, [&](const std::string& path) { seen.push_back(path); });
        return seen;
    }

    TemporaryDisk disk;
};

// Tests that every path lands under the root, ".." included.
TEST_F(FilesTest, PathsNeverLeaveTheRoot) {
    EXPECT_EQ(desktop::diskRoot(), disk.root());
    EXPECT_EQ(desktop::resolve("/Applications/Safari.app/"), disk.root() + "/Applications/Safari.app");
    EXPECT_EQ(desktop::resolve("/../../etc/passwd"), disk.root() + "/etc/passwd");
    EXPECT_EQ(desktop::resolve("/Applications/../../../x/./y//z"), disk.root() + "/x/y/z");
    EXPECT_EQ(desktop::resolve("relative/path"), disk.root() + "/relative/path");
    EXPECT_EQ(desktop::resolve("/"), disk.root());
    EXPECT_TRUE(platform::files().writeFile("/../../outside.txt", "x"));
    EXPECT_TRUE(disk.exists("/outside.txt"));
    EXPECT_EQ(disk.read("/outside.txt"), "x");
    EXPECT_TRUE(platform::files().exists("/outside.txt"));
    EXPECT_FALSE(platform::files().exists("/missing"));
}

// Tests that links on the disk are followed inside it, as a Mac follows them
// inside its own file system: an absolute target counts from the disk's "/",
// a relative one from the link's folder, ".." climbs from where a link led,
// a walk of a folder linked to "/" stays on the disk, and a loop of links
// names nothing.
TEST_F(FilesTest, LinksResolveInsideTheDisk) {
    namespace fs = std::filesystem;
    auto& files = platform::files();
    disk.write("/Users/demo/Desktop/note.txt", "mine");
    fs::create_directory_symlink("/tmp", disk.real("/Users/demo/Out"));
    fs::create_directory_symlink("../demo/Desktop", disk.real("/Users/demo/Near"));
    fs::create_directory_symlink("/", disk.real("/Everything"));

    const std::string name = "orvane-link-probe-" + std::to_string(getpid()) + ".png";
    EXPECT_EQ(desktop::resolve("/Users/demo/Out/" + name), disk.root() + "/tmp/" + name);
    EXPECT_FALSE(files.writeFile("/Users/demo/Out/" + name, "png")) << "the disk has no /tmp";
    EXPECT_FALSE(fs::exists("/tmp/" + name)) << "written outside the disk";
    disk.write("/tmp/keep.txt", "");
    EXPECT_TRUE(files.writeFile("/Users/demo/Out/" + name, "png"));
    EXPECT_EQ(disk.read("/tmp/" + name), "png");
    EXPECT_FALSE(fs::exists("/tmp/" + name));

    EXPECT_EQ(desktop::resolve("/Users/demo/Near/note.txt"), disk.root() + "/Users/demo/Desktop/note.txt");
    EXPECT_EQ(desktop::resolve("/Users/demo/Near/../Desktop"), disk.root() + "/Users/demo/Desktop");
    EXPECT_EQ(desktop::resolve("/Everything/../../Users"), disk.root() + "/Users");
    // Climbing back out of folders that are not there reaches links again.
    EXPECT_EQ(desktop::resolve("/Missing/deeper/../../Users/demo/Near/note.txt"), disk.root() + "/Users/demo/Desktop/note.txt");
    EXPECT_EQ(desktop::resolve("/Users/demo/Desktop/note.txt/x/../../../Near/note.txt"),
              disk.root() + "/Users/demo/Desktop/note.txt");
    EXPECT_TRUE(files.exists("/Everything/Users/demo/Desktop/note.txt"));

    std::vector<std::string> seen = walk("/Everything");
    EXPECT_NE(std::find(seen.begin(), seen.end(), "/Everything/Users/demo/Desktop/note.txt"), seen.end());
    for (const auto& path : seen) EXPECT_TRUE(files.exists(path)) << path << " is not on the disk";

    // Inside a bundle too: a Contents folder that links to "/Shared" is the
    // disk's /Shared, whose Info.plist names the bundle; its localized name
    // comes through a linked Resources folder the same way.
    disk.write("/Shared/Info.plist", *desktop::binaryPropertyList(json{{"CFBundleIdentifier", "com.example.inside"}}));
    disk.write("/Names/zh-Hans.lproj/InfoPlist.strings", *desktop::binaryPropertyList(json{{"CFBundleDisplayName", "里面"}}));
    fs::create_directories(disk.real("/Applications/Linked.app"));
    fs::create_directory_symlink("/Shared", disk.real("/Applications/Linked.app/Contents"));
    fs::create_directory_symlink("/Names", disk.real("/Shared/Resources"));
    EXPECT_EQ(files.bundleIdentifier("/Applications/Linked.app"), "com.example.inside");
    EXPECT_EQ(files.displayName("/Applications/Linked.app"), "里面.app");
    EXPECT_EQ(desktop::resolveBelow(disk.root() + "/Applications", "Linked.app/Contents/../x"), disk.root() + "/x");
    EXPECT_EQ(desktop::resolveBelow("/elsewhere", "x"), "") << "a folder off the disk";
    EXPECT_EQ(desktop::resolveBelowIfPresent(disk.root() + "/Applications", "Linked.app/Contents/Info.plist"),
              disk.root() + "/Shared/Info.plist");
    EXPECT_EQ(desktop::resolveBelowIfPresent(disk.root() + "/Applications", "Linked.app/Contents/Missing/../Info.plist"),
              disk.root() + "/Shared/Info.plist");
    EXPECT_EQ(desktop::resolveBelowIfPresent(disk.root() + "/Applications", "Linked.app/Contents/Missing"), std::nullopt);
    EXPECT_EQ(desktop::resolveBelowIfPresent("/elsewhere", "x"), std::nullopt);

    fs::create_symlink("Loop2", disk.real("/Loop1"));
    fs::create_symlink("Loop1", disk.real("/Loop2"));
    EXPECT_EQ(desktop::resolve("/Loop1/x"), "");
    EXPECT_FALSE(files.exists("/Loop1"));
    EXPECT_FALSE(files.writeFile("/Loop1", "x"));
}

// Tests that what a walk's visitor learns about the path it is given (its
// identifier, its name) is what the same questions give outside the walk,
// for bundles reached through a linked folder, a linked bundle and a linked
// Contents folder alike.
TEST_F(FilesTest, WalkVisitorSeesWhatALookupSees) {
    namespace fs = std::filesystem;
    auto& files = platform::files();
    disk.writeBundle("/Vendor/Plain.app", "com.example.plain");
    disk.writeBundle("/Elsewhere/Target.app", "com.example.target");
    disk.write("/Elsewhere/Target.app/Contents/Resources/zh_CN.lproj/InfoPlist.strings",
               *desktop::binaryPropertyList(json{{"CFBundleName", "目标"}}));
    disk.writeBundle("/Shared/Real.app", "com.example.real");
    fs::create_directories(disk.real("/Vendor/Hollow.app"));
    fs::create_directory_symlink("/Shared/Real.app/Contents", disk.real("/Vendor/Hollow.app/Contents"));
    fs::create_directory_symlink("/Elsewhere/Target.app", disk.real("/Vendor/Linked.app"));
    disk.makeFolder("/Applications");
    fs::create_directory_symlink("/Vendor", disk.real("/Applications/Suite"));

    struct Seen {
        std::optional<std::string> identifier;
        std::string name;
        bool operator==(const Seen&) const = default;
    };
    std::vector<std::pair<std::string, Seen>> during;
    for (const std::string root : {"/Vendor", "/Applications/Suite", "/Applications/Suite/"})
        files.walk(root, [&](const std::string& path) { during.push_back({path, {files.bundleIdentifier(path), files.displayName(path)}}); });
    ASSERT_EQ(during.size(), 9u);
    for (const auto& [path, seen] : during) EXPECT_EQ(seen, (Seen{files.bundleIdentifier(path), files.displayName(path)})) << path;
    EXPECT_EQ(during[0].second, (Seen{"com.example.real", "Hollow.app"}));
    EXPECT_EQ(during[1].second, (Seen{"com.example.target", "目标.app"}));
    EXPECT_EQ(during[2].second, (Seen{"com.example.plain", "Plain.app"}));
}

// Tests that reads a walk makes below the entries it visits keep the disk's
// rules whatever lies on the way: an Info.plist or a Resources folder that is
// a link (absolute or relative) is found inside the disk, a Contents that is
// a file leaves the bundle's top-level Info.plist, a missing strings folder
// leaves the other language, 32 links still resolve while 33 name nothing,
// and a bundle deeper than the folders a walk holds open reads the same.
TEST_F(FilesTest, WalkReadsBelowEntriesThroughLinksAndMissingParts) {
    namespace fs = std::filesystem;
    auto& files = platform::files();
    auto strings = [](const char* name) { return *desktop::binaryPropertyList(json{{"CFBundleDisplayName", name}}); };
    disk.writeBundle("/Shared/Source.app", "com.example.shared");
    disk.write("/Names/zh-Hans.lproj/InfoPlist.strings", strings("共享"));
    disk.makeFolder("/Suite/LinkedPlist.app/Contents");
    fs::create_symlink("/Shared/Source.app/Contents/Info.plist", disk.real("/Suite/LinkedPlist.app/Contents/Info.plist"));
    fs::create_directory_symlink("../../../Names", disk.real("/Suite/LinkedPlist.app/Contents/Resources"));
    disk.write("/Suite/Flat.app/Contents", "a file where the folder belongs");
    disk.write("/Suite/Flat.app/Info.plist", *desktop::binaryPropertyList(json{{"CFBundleIdentifier", "com.example.flat"}}));
    disk.writeBundle("/Suite/Second.app", "com.example.second");
    disk.write("/Shared/zh_CN.lproj/InfoPlist.strings", strings("第二"));
    disk.makeFolder("/Suite/Second.app/Contents/Resources");
    fs::create_directory_symlink("/Shared/zh_CN.lproj", disk.real("/Suite/Second.app/Contents/Resources/zh_CN.lproj"));
    // Contents leads through a chain of relative links inside the bundle,
    // which the machine's own lookup would follow further than the disk
    // does, to the bundle's Real folder: one link for Contents and `chain` more.
    auto chainedBundle = [&](const std::string& bundle, int chain) {
        disk.write(bundle + "/Real/Info.plist", *desktop::binaryPropertyList(json{{"CFBundleIdentifier", "com.example.chained"}}));
        disk.makeFolder(bundle + "/Chain");
        for (int i = 0; i < chain; ++i)
            fs::create_directory_symlink(i + 1 < chain ? std::to_string(i + 1) : "../Real",
                                         disk.real(bundle + "/Chain/" + std::to_string(i)));
        fs::create_directory_symlink("Chain/0", disk.real(bundle + "/Contents"));
    };
    chainedBundle("/Suite/Links32.app", 31);
    chainedBundle("/Suite/Links33.app", 32);
    std::string deep = "/Suite/Deep";
    for (int depth = 0; depth < 70; ++depth) deep += "/d";
    disk.writeBundle(deep + "/Bottom.app", "com.example.bottom");
    disk.write(deep + "/Bottom.app/Contents/Resources/zh-Hans.lproj/InfoPlist.strings", strings("底"));

    // The identifier and the display name.
    using Seen = std::pair<std::optional<std::string>, std::string>;
    std::map<std::string, Seen> during;
    files.walk("/Suite", [&](const std::string& path) {
        if (path.size() > 4 && path.compare(path.size() - 4, 4, ".app") == 0)
            during[path] = {files.bundleIdentifier(path), files.displayName(path)};
    });
    const std::map<std::string, Seen> expected = {
        {"/Suite/LinkedPlist.app", {"com.example.shared", "共享.app"}},
        {"/Suite/Flat.app", {"com.example.flat", "Flat.app"}},
        {"/Suite/Second.app", {"com.example.second", "第二.app"}},
        {"/Suite/Links32.app", {"com.example.chained", "Links32.app"}},
        {"/Suite/Links33.app", {std::nullopt, "Links33.app"}},
        {deep + "/Bottom.app", {"com.example.bottom", "底.app"}},
    };
    for (const auto& [path, seen] : expected) {
        EXPECT_EQ(during[path], seen) << path << " during the walk";
        EXPECT_EQ((Seen{files.bundleIdentifier(path), files.displayName(path)}), seen) << path << " outside the walk";
    }
    EXPECT_EQ(during.size(), expected.size());
}

// Tests that both writes need the folder to exist, that the plain one writes
// through to the file in place, and that the atomic one puts a new file in
// its place and leaves no temporary file, whether it succeeds or fails.
TEST_F(FilesTest, WritesNeedTheirFolder) {
    auto& files = platform::files();
    EXPECT_FALSE(files.writeFile("/Missing/a.txt", "x"));
    EXPECT_FALSE(files.writeFileAtomically("/Missing/a.txt", "x"));
    EXPECT_FALSE(disk.exists("/Missing"));

    disk.write("/Out/original.txt", "old");
    std::filesystem::create_hard_link(disk.real("/Out/original.txt"), disk.real("/Out/plain.txt"));
    std::filesystem::create_hard_link(disk.real("/Out/original.txt"), disk.real("/Out/atomic.txt"));
    EXPECT_TRUE(files.writeFile("/Out/plain.txt", "in place"));
    EXPECT_EQ(disk.read("/Out/original.txt"), "in place");
    EXPECT_TRUE(files.writeFileAtomically("/Out/atomic.txt", "renamed"));
    EXPECT_EQ(disk.read("/Out/atomic.txt"), "renamed");
    EXPECT_EQ(disk.read("/Out/original.txt"), "in place");

    disk.makeFolder("/Out/folder.txt");
    EXPECT_FALSE(files.writeFileAtomically("/Out/folder.txt", "x"));
    EXPECT_FALSE(files.writeFile("/Out/folder.txt", "x"));
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(disk.real("/Out"))) ++entries;
    EXPECT_EQ(entries, 4u) << "original, plain, atomic and the folder: no temporary file left";
}

// Tests that a path holding NUL is no path: the file system would cut it at
// the NUL, so it must not reach an existing file through its prefix.
TEST_F(FilesTest, PathsHoldingNulAreNoPaths) {
    auto& files = platform::files();
    disk.write("/Out/keep.txt", "kept");
    const std::string cut = std::string("/Out/keep.txt") + '\0';
    EXPECT_FALSE(files.exists(cut));
    EXPECT_FALSE(files.exists(std::string("/Out") + '\0' + "/x"));
    EXPECT_FALSE(files.writeFile(cut, "overwritten"));
    EXPECT_FALSE(files.writeFileAtomically(cut, "overwritten"));
    EXPECT_FALSE(files.writeFile(cut + "/strip.png", "overwritten"));
    EXPECT_EQ(disk.read("/Out/keep.txt"), "kept");
    EXPECT_TRUE(walk(std::string("/Out") + '\0').empty());
    EXPECT_FALSE(files.bundleIdentifier(std::string("/Out") + '\0').has_value());
}

// Tests that the walk reports entries depth first in name order, enters
// plain folders, never enters packages, skips hidden entries and does not
// follow links (a link loop ends).
TEST_F(FilesTest, WalkSkipsPackagesHiddenEntriesAndLinks) {
    disk.writeBundle("/Apps/B.app", "com.example.b");
    disk.writeBundle("/Apps/B.app/Contents/Applications/Inner.app", "com.example.inner");
    disk.writeBundle("/Apps/Tools/C.APP", "com.example.c");
    disk.writeBundle("/Apps/.Secret.app", "com.example.secret");
    disk.write("/Apps/.hidden/D.app/Contents/Info.plist", "");
    disk.write("/Apps/a.txt", "text");
    disk.makeFolder("/Apps/Kit.framework/Versions");
    std::filesystem::create_directory_symlink(disk.real("/Apps"), disk.real("/Apps/Tools/Loop"));
    std::filesystem::create_directory_symlink("/", disk.real("/Apps/Root"));

    EXPECT_EQ(walk("/Apps"), (std::vector<std::string>{"/Apps/B.app", "/Apps/Kit.framework", "/Apps/Root", "/Apps/Tools",
                                                        "/Apps/Tools/C.APP", "/Apps/Tools/Loop", "/Apps/a.txt"}));
    EXPECT_EQ(walk("/Apps/"), walk("/Apps"));
    EXPECT_TRUE(walk("/Missing").empty());
    EXPECT_TRUE(walk("/Apps/a.txt").empty());
}

// Tests that the identifier comes from a binary or XML Info.plist and that
// a missing, empty, truncated or wrongly typed one gives none.
TEST_F(FilesTest, BundleIdentifierComesFromInfoPlist) {
    auto& files = platform::files();
    disk.writeBundle("/A/Binary.app", "com.example.binary");
    disk.writeBundle("/A/Xml.app", "com.example.xml", true);
    disk.writeBundle("/A/None.app", "");
    disk.makeFolder("/A/Empty.app/Contents");
    disk.write("/A/Zero.app/Contents/Info.plist", "");
    std::string good = *desktop::binaryPropertyList(json{{"CFBundleIdentifier", "com.example.cut"}});
    disk.write("/A/Cut.app/Contents/Info.plist", good.substr(0, good.size() / 2));
    disk.write("/A/List.app/Contents/Info.plist", *desktop::binaryPropertyList(json::array({"com.example.list"})));
    disk.write("/A/Number.app/Contents/Info.plist", *desktop::binaryPropertyList(json{{"CFBundleIdentifier", 42}}));
    disk.write("/A/File.app", "not a folder");

    EXPECT_EQ(files.bundleIdentifier("/A/Binary.app"), "com.example.binary");
    EXPECT_EQ(files.bundleIdentifier("/A/Xml.app/"), "com.example.xml");
    for (const char* path : {"/A/None.app", "/A/Empty.app", "/A/Zero.app", "/A/Cut.app", "/A/List.app", "/A/Number.app",
                             "/A/File.app", "/A/Missing.app"}) {
        EXPECT_EQ(files.bundleIdentifier(path), std::nullopt) << path;
    }
    EXPECT_EQ(files.displayName("/Applications/Visual Studio Code.app/"), "Visual Studio Code.app");
    EXPECT_EQ(files.homeDirectory(), "/Users/demo");
}

// Tests that a bundle goes by the name its strings give for the system's
// language, as the Finder shows it, and by its file name without them or
// when they are unreadable.
TEST_F(FilesTest, DisplayNameIsTheLocalizedNameWhereTheBundleHasOne) {
    auto& files = platform::files();
    const std::string strings = "/Contents/Resources/zh-Hans.lproj/InfoPlist.strings";
    disk.write("/System/Applications/Mail.app" + strings, *desktop::xmlPropertyList(json{{"CFBundleDisplayName", "邮件"}}));
    disk.write("/Applications/Broken.app" + strings, "\"CFBundleDisplayName\" = ");
    disk.write("/Applications/Slashed.app" + strings, *desktop::xmlPropertyList(json{{"CFBundleDisplayName", "a/b"}}));
    EXPECT_EQ(files.displayName("/System/Applications/Mail.app/"), "邮件.app");
    EXPECT_EQ(files.displayName("/Applications/Broken.app"), "Broken.app");
    EXPECT_EQ(files.displayName("/Applications/Slashed.app"), "Slashed.app");
    EXPECT_EQ(files.displayName("/Applications/Nowhere.app"), "Nowhere.app");
}

// Tests that a scene without a disk gets a fresh copy of the demo disk:
// bundles with Info.plist and icons, and the Dock's lived-in preferences.
TEST(DemoDisk, FreshCopyHoldsBundlesAndDockPreferences) {
    desktop::reset(json::object());
    std::string root = desktop::diskRoot();
    auto& files = platform::files();
    EXPECT_EQ(files.bundleIdentifier("/System/Library/CoreServices/Finder.app"), "com.apple.finder");
    EXPECT_EQ(files.bundleIdentifier("/Applications/Safari.app"), "com.apple.Safari");
    EXPECT_EQ(files.bundleIdentifier("/System/Applications/Utilities/Terminal.app"), "com.apple.Terminal");
    EXPECT_TRUE(files.exists("/Applications/Slack.app/Contents/Resources/AppIcon.png"));

    auto dock = desktop::parsePropertyList(orvane::test::readRealFile(desktop::resolve("/Users/demo/Library/Preferences/com.apple.dock.plist")));
    ASSERT_TRUE(dock && dock->is_object());
    EXPECT_EQ((*dock)["autohide"], false);
    EXPECT_GE((*dock)["persistent-apps"].size(), 10u);

    // Changes stay on this copy: the next reset starts from the demo disk again.
    ASSERT_TRUE(files.writeFile("/Applications/Safari.app/Contents/Info.plist", ""));
    desktop::reset(json::object());
    EXPECT_NE(desktop::diskRoot(), root);
    EXPECT_FALSE(std::filesystem::exists(root)) << "the previous copy is removed";
    EXPECT_EQ(files.bundleIdentifier("/Applications/Safari.app"), "com.apple.Safari");
}

}  // namespace
