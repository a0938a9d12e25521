// Tests of the simulated Mac's preference store: the pending cache,
// synchronize's merge into the file on disk, and files it must not touch.

#include <gtest/gtest.h>

#include <filesystem>

#include "desktop/Desktop.h"
#include "desktop/preferences/Preferences.h"
#include "desktop/propertylist/PropertyList.h"
#include "platform/Preferences.h"
#include "tests/desktop/TemporaryDisk.h"

namespace {

using nlohmann::json;
using orvane::test::TemporaryDisk;

class PreferencesTest : public ::testing::Test {
protected:
    void SetUp() override { desktop::reset(disk.scene()); }

    std::string file(const std::string& domain) { return desktop::preferencesFile(domain); }

    TemporaryDisk disk;
};

// Tests that values set are visible at once, reach the file only on
// synchronize, and that the file is a binary list in the user's Library.
TEST_F(PreferencesTest, SetValuesReachTheFileOnSynchronize) {
    auto domain = platform::preferences("com.example.first");
    EXPECT_EQ(domain->copyValue("size"), std::nullopt);
    domain->setValue("size", json(48));
    EXPECT_EQ(domain->copyValue("size"), json(48));
    EXPECT_FALSE(disk.exists(file("com.example.first"))) << "nothing is written before synchronize";

    EXPECT_TRUE(domain->synchronize()) << "the missing Preferences folder is created";
    EXPECT_EQ(file("com.example.first"), "/Users/demo/Library/Preferences/com.example.first.plist");
    std::string bytes = disk.read(file("com.example.first"));
    EXPECT_EQ(bytes.substr(0, 8), "bplist00");
    EXPECT_EQ(*desktop::parsePropertyList(bytes), json({{"size", 48}}));
    EXPECT_EQ(platform::preferences("com.example.first"), domain) << "one object per domain";

    domain->setValue("size", std::nullopt);
    EXPECT_TRUE(domain->synchronize());
    EXPECT_EQ(*desktop::parsePropertyList(disk.read(file("com.example.first"))), json::object());
    for (const auto& entry : std::filesystem::directory_iterator(disk.real("/Users/demo/Library/Preferences"))) {
        EXPECT_EQ(entry.path().filename(), "com.example.first.plist") << "no temporary file is left behind";
    }
}

// Tests that synchronize keeps every key it did not change, with its type,
// and picks up what another process wrote meanwhile.
TEST_F(PreferencesTest, SynchronizeMergesIntoWhatIsOnDisk) {
    json original = {{"tilesize", 48},
                     {"largesize", 64.0},
                     {"orientation", "bottom"},
                     {"book", {{"$plist", "data"}, {"base64", "Ym9vaw=="}}},
                     {"stamp", {{"$plist", "date"}, {"seconds", 700000000.5}}},
                     {"persistent-apps", {{{"tile-type", "spacer-tile"}, {"tile-data", json::object()}}}}};
    disk.write(file("com.example.merge"), *desktop::binaryPropertyList(original));
    auto domain = platform::preferences("com.example.merge");
    EXPECT_EQ(domain->copyValue("largesize"), json(64.0));

    domain->setValue("autohide", json(true));
    // Another process changes a key behind the cache's back.
    json external = original;
    external["tilesize"] = 36;
    disk.write(file("com.example.merge"), *desktop::binaryPropertyList(external));
    ASSERT_TRUE(domain->synchronize());

    json expected = external;
    expected["autohide"] = true;
    json stored = *desktop::parsePropertyList(disk.read(file("com.example.merge")));
    EXPECT_EQ(stored, expected);
    EXPECT_TRUE(stored["largesize"].is_number_float());
    EXPECT_EQ(domain->copyValue("tilesize"), json(36)) << "synchronize reloads";
}

// Tests that a file that does not parse, or whose top level is not a
// dictionary, is never overwritten: synchronize fails, the file keeps every
// byte, and the refused changes are dropped.
TEST_F(PreferencesTest, UnreadableFilesAreNeverOverwritten) {
    const std::string corrupt = std::string("bplist00\x01\x02 not really", 20);
    disk.write(file("com.example.corrupt"), corrupt);
    auto domain = platform::preferences("com.example.corrupt");
    domain->setValue("autohide", json(true));
    EXPECT_FALSE(domain->synchronize());
    EXPECT_EQ(disk.read(file("com.example.corrupt")), corrupt);
    EXPECT_EQ(domain->copyValue("autohide"), std::nullopt) << "a failed synchronize drops the pending change";
    EXPECT_TRUE(domain->synchronize()) << "nothing pending, nothing to save";
    EXPECT_EQ(disk.read(file("com.example.corrupt")), corrupt);

    std::string list = *desktop::binaryPropertyList(json::array({1, 2}));
    disk.write(file("com.example.array"), list);
    auto arrayDomain = platform::preferences("com.example.array");
    arrayDomain->setValue("key", json("value"));
    EXPECT_FALSE(arrayDomain->synchronize());
    EXPECT_EQ(disk.read(file("com.example.array")), list);

    auto escaping = platform::preferences("../../escape");
    escaping->setValue("key", json(1));
    EXPECT_FALSE(escaping->synchronize()) << "a domain is a file name, never a path";
}

// Tests that a reset onto another disk drops cached and pending values of a
// domain object that outlives it.
TEST_F(PreferencesTest, ResetForgetsCachedValues) {
    auto domain = platform::preferences("com.example.reset");
    domain->setValue("pending", json(1));
    TemporaryDisk other;
    other.write(file("com.example.reset"), *desktop::binaryPropertyList(json{{"there", "yes"}}));
    desktop::reset(other.scene());
    EXPECT_EQ(domain->copyValue("pending"), std::nullopt);
    EXPECT_EQ(domain->copyValue("there"), json("yes"));
    desktop::reset(disk.scene());
}

// Tests that a successful save removes the temporary files that writers
// killed in the middle of a save left beside the file, and nothing else.
TEST_F(PreferencesTest, SaveRemovesLeftoverTemporaries) {
    const std::string folder = "/Users/demo/Library/Preferences/";
    const std::vector<std::string> leftovers = {".com.example.prefs.plist.AbC123", ".com.example.prefs.plist.zz9ZZ0"};
    const std::vector<std::string> others = {".com.example.prefs.plist.keep", ".com.example.prefs.plist.AbC1234",
                                             "com.example.prefs.plist.AbC123", ".com.example.other.plist.AbC123",
                                             ".com.example.prefs.plist.AbC-23"};
    for (const auto& name : leftovers) disk.write(folder + name, "half a list");
    for (const auto& name : others) disk.write(folder + name, "someone else's");

    auto domain = platform::preferences("com.example.prefs");
    domain->setValue("size", json(48));
    ASSERT_TRUE(domain->synchronize());
    for (const auto& name : leftovers) EXPECT_FALSE(disk.exists(folder + name)) << name;
    for (const auto& name : others) EXPECT_TRUE(disk.exists(folder + name)) << name;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(disk.real(folder)), {}),
              static_cast<long>(others.size() + 1));
}

}  // namespace
