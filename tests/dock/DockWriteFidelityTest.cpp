// Tests that a Dock write carries every key it does not set through
// unchanged (value, type, the file's mode), or refuses and leaves the file
// byte for byte when the file holds something it cannot carry; and that a
// number from the host is stored as that number or refused.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <utility>
#include <vector>

#include "desktop/Desktop.h"
#include "desktop/propertylist/PropertyList.h"
#include "dock/DockPreferences.h"
#include "tests/desktop/TemporaryDisk.h"
#include "tests/dock/RawDockList.h"

namespace {

using nlohmann::json;
using orvane::test::TemporaryDisk;
using orvane::test::binaryDock;
using orvane::test::dockFile;

using orvane::test::asciiObject;
using orvane::test::integer16Object;
using orvane::test::utf16Object;

const std::string integerOne("\x10\x01", 2);

// {"autohide": false, "x": value} with the value as an XML element.
std::string xmlWithValue(const std::string& element) { return orvane::test::xmlDock({{"autohide", "<false/>"}, {"x", element}}); }

class DockWriteFidelityTest : public ::testing::Test {
protected:
    void SetUp() override { desktop::reset(disk.scene({{"apps", {orvane::test::runningDock()}}})); }

    // Writes the hidden values over a file holding bytes: refused with code 2
    // and the file untouched, or accepted with every other key as it was.
    void expectRefused(const std::string& bytes, const std::string& what) {
        disk.write(dockFile, bytes);
        auto result = dock::dockWrite(dock::dockHiddenValues());
        ASSERT_FALSE(result.ok()) << what;
        EXPECT_EQ(result.error().code, 2) << what;
        EXPECT_EQ(disk.read(dockFile), bytes) << what << ": byte for byte";
    }
    void expectCarried(const std::string& bytes, const std::string& what) {
        disk.write(dockFile, bytes);
        auto before = desktop::parsePropertyList(bytes);
        ASSERT_TRUE(before) << what;
        ASSERT_TRUE(dock::dockWrite(dock::dockHiddenValues()).ok()) << what;
        json after = disk.readDockPreferences();
        for (auto& [key, value] : before->items()) {
            if (key == "autohide") continue;
            EXPECT_EQ(after[key], value) << what << ": " << key;
        }
    }

    TemporaryDisk disk;
};

// Tests that values libplist would alter on the way through are refused:
// strings cut at a NUL or at a byte it cannot convert, a key cut at a NUL
// (which would overwrite another key), integers wider than 64 bits or
// negative in 16 bytes, a lone UTF-16 surrogate, a set turned into an
// array, and XML scalars it would read as other values.
TEST_F(DockWriteFidelityTest, RefusesWhatCannotBeCarriedUnchanged) {
    expectRefused(binaryDock({{asciiObject("s"), asciiObject(std::string("a\0b", 3))}}), "NUL in a string");
    expectRefused(binaryDock({{asciiObject("a"), integerOne}, {asciiObject(std::string("a\0b", 3)), integerOne}}), "NUL in a key");
    expectRefused(binaryDock({{asciiObject("i"), integer16Object(1, 5)}}), "2^64 + 5");
    expectRefused(binaryDock({{asciiObject("i"), integer16Object(~0ull, ~0ull - 4)}}), "-5 in 16 bytes");
    expectRefused(binaryDock({{asciiObject("u"), utf16Object({0x61, 0xD800, 0x62})}}), "a lone surrogate");
    expectRefused(binaryDock({{asciiObject("u"), asciiObject("a\xE9" "b")}}), "a byte beyond ASCII in an ASCII string");
    expectRefused(binaryDock({{asciiObject("s"), std::string("\xC1\x02", 2)}, {asciiObject("t"), integerOne}}), "a set");

    expectRefused(xmlWithValue("<integer>-9223372036854775809</integer>"), "below the 64-bit range");
    expectRefused(xmlWithValue("<integer>18446744073709551616</integer>"), "above the 64-bit range");
    expectRefused(xmlWithValue("<integer>5abc</integer>"), "an integer with trailing text");
    expectRefused(xmlWithValue("<real>1.5abc</real>"), "a real with trailing text");
    expectRefused(xmlWithValue("<date>2001-01-01T00:00:00.5Z</date>"), "a date with a fraction");
    expectRefused(xmlWithValue("<data>AAE</data>"), "data without its padding");
    expectRefused(xmlWithValue("<string>a&#xD800;b</string>"), "a surrogate character reference");
    expectRefused(xmlWithValue("<string>a\xE9" "b</string>"), "text that is not UTF-8");
    expectRefused(xmlWithValue("<string>a\r\nb</string>"), "a carriage return that XML turns into a line feed");
}

// Tests that ordinary and unusual but faithful values go through: a 16-byte
// integer within 64 bits, UTF-16 text, a 4-byte real, a negative integer,
// and XML integers, reals, data, dates and text as the platform writes them.
TEST_F(DockWriteFidelityTest, CarriesFaithfulValues) {
    expectCarried(binaryDock({{asciiObject("i"), integer16Object(0, 5)}, {asciiObject("u"), utf16Object({0x61, 0x4E2D})},
                              {asciiObject("r"), std::string("\x22\x3D\xCC\xCC\xCD", 5)},
                              {asciiObject("n"), std::string("\x13\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFB", 9)}}),
                  "binary");
    expectCarried(xmlWithValue("<integer>9223372036854775807</integer>"), "the largest signed integer");
    expectCarried(xmlWithValue("<integer>-9223372036854775808</integer>"), "the smallest integer");
    expectCarried(xmlWithValue("<real>0.1</real>"), "a real");
    expectCarried(xmlWithValue("<real>-1.5e-7</real>"), "a real with an exponent");
    expectCarried(xmlWithValue("<data>\n\tAAEC\n\tAw==\n\t</data>"), "wrapped data");
    expectCarried(xmlWithValue("<date>2024-05-01T12:30:00Z</date>"), "a date");
    expectCarried(xmlWithValue("<string>a&lt;&#x4E2D;<![CDATA[<b>]]> c</string>"), "text with references");
    expectCarried(xmlWithValue("<array><dict><key>k</key><true/></dict><string/></array>"), "containers");
}

// Tests that the file keeps its mode through a write.
TEST_F(DockWriteFidelityTest, KeepsTheFileMode) {
    disk.writeDockPreferences({{"tilesize", 48}});
    ASSERT_EQ(::chmod(disk.real(dockFile).c_str(), 0600), 0);
    ASSERT_TRUE(dock::dockWrite(dock::dockHiddenValues()).ok());
    struct stat status {};
    ASSERT_EQ(::stat(disk.real(dockFile).c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600u);
}

// Tests that a number from the host is stored as that number, across the
// whole signed and unsigned 64-bit range, and reads back with its sign.
TEST_F(DockWriteFidelityTest, HostNumbersKeepTheirValue) {
    disk.writeDockPreferences({{"tilesize", 48}});
    for (const char* number : {"9223372036854775808", "18446744073709551615", "-1", "-9223372036854775808",
                               "9223372036854775807"}) {
        ASSERT_TRUE(dock::dockWrite(json::parse(std::string(R"({"autohide":true,"autohide-delay":)") + number + "}")).ok())
            << number;
        EXPECT_EQ(dock::dockRead()["autohide-delay"].dump(), number);
        EXPECT_EQ(disk.readDockPreferences()["tilesize"], 48) << number;
    }
}

}  // namespace
