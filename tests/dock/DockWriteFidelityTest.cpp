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

namespace {

using nlohmann::json;
using orvane::test::TemporaryDisk;

const std::string dockFile = "/Users/demo/Library/Preferences/com.apple.dock.plist";

std::string ascii(const std::string& text) { return char(0x50 | text.size()) + text; }

std::string utf16(std::initializer_list<unsigned> units) {
    std::string object(1, char(0x60 | units.size()));
    for (unsigned unit : units) object += char(unit >> 8), object += char(unit & 0xFF);
    return object;
}

// A 16-byte integer object from its high and low 64-bit halves.
std::string integer16(std::uint64_t high, std::uint64_t low) {
    std::string object(1, '\x14');
    for (std::uint64_t half : {high, low})
        for (int shift = 56; shift >= 0; shift -= 8) object += char((half >> shift) & 0xFF);
    return object;
}

const std::string integerOne("\x10\x01", 2);

// A binary list whose top object is a dictionary of the given raw key and
// value objects (references one byte wide, as a small file has them).
std::string binaryDock(const std::vector<std::pair<std::string, std::string>>& pairs) {
    std::vector<std::string> objects(1, std::string(1, char(0xD0 | pairs.size())));
    for (std::size_t i = 0; i < pairs.size(); ++i) objects[0] += char(1 + i);
    for (std::size_t i = 0; i < pairs.size(); ++i) objects[0] += char(1 + pairs.size() + i);
    for (const auto& pair : pairs) objects.push_back(pair.first);
    for (const auto& pair : pairs) objects.push_back(pair.second);
    std::string bytes = "bplist00";
    std::vector<std::size_t> offsets;
    for (const auto& object : objects) {
        offsets.push_back(bytes.size());
        bytes += object;
    }
    std::size_t table = bytes.size();
    for (auto offset : offsets) bytes += char(offset >> 8), bytes += char(offset & 0xFF);
    std::string trailer(32, '\0');
    trailer[6] = 2;
    trailer[7] = 1;
    trailer[15] = char(objects.size());
    trailer[30] = char(table >> 8);
    trailer[31] = char(table & 0xFF);
    return bytes + trailer;
}

// {"autohide": false, "x": value} with the value as an XML element.
std::string xmlDock(const std::string& element) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
           "<key>autohide</key><false/><key>x</key>" + element + "</dict></plist>";
}

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
    expectRefused(binaryDock({{ascii("s"), ascii(std::string("a\0b", 3))}}), "NUL in a string");
    expectRefused(binaryDock({{ascii("a"), integerOne}, {ascii(std::string("a\0b", 3)), integerOne}}), "NUL in a key");
    expectRefused(binaryDock({{ascii("i"), integer16(1, 5)}}), "2^64 + 5");
    expectRefused(binaryDock({{ascii("i"), integer16(~0ull, ~0ull - 4)}}), "-5 in 16 bytes");
    expectRefused(binaryDock({{ascii("u"), utf16({0x61, 0xD800, 0x62})}}), "a lone surrogate");
    expectRefused(binaryDock({{ascii("u"), ascii("a\xE9" "b")}}), "a byte beyond ASCII in an ASCII string");
    expectRefused(binaryDock({{ascii("s"), std::string("\xC1\x02", 2)}, {ascii("t"), integerOne}}), "a set");

    expectRefused(xmlDock("<integer>-9223372036854775809</integer>"), "below the 64-bit range");
    expectRefused(xmlDock("<integer>18446744073709551616</integer>"), "above the 64-bit range");
    expectRefused(xmlDock("<integer>5abc</integer>"), "an integer with trailing text");
    expectRefused(xmlDock("<real>1.5abc</real>"), "a real with trailing text");
    expectRefused(xmlDock("<date>2001-01-01T00:00:00.5Z</date>"), "a date with a fraction");
    expectRefused(xmlDock("<data>AAE</data>"), "data without its padding");
    expectRefused(xmlDock("<string>a&#xD800;b</string>"), "a surrogate character reference");
    expectRefused(xmlDock("<string>a\xE9" "b</string>"), "text that is not UTF-8");
    expectRefused(xmlDock("<string>a\r\nb</string>"), "a carriage return that XML turns into a line feed");
}

// Tests that ordinary and unusual but faithful values go through: a 16-byte
// integer within 64 bits, UTF-16 text, a 4-byte real, a negative integer,
// and XML integers, reals, data, dates and text as the platform writes them.
TEST_F(DockWriteFidelityTest, CarriesFaithfulValues) {
    expectCarried(binaryDock({{ascii("i"), integer16(0, 5)}, {ascii("u"), utf16({0x61, 0x4E2D})},
                              {ascii("r"), std::string("\x22\x3D\xCC\xCC\xCD", 5)},
                              {ascii("n"), std::string("\x13\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFB", 9)}}),
                  "binary");
    expectCarried(xmlDock("<integer>9223372036854775807</integer>"), "the largest signed integer");
    expectCarried(xmlDock("<integer>-9223372036854775808</integer>"), "the smallest integer");
    expectCarried(xmlDock("<real>0.1</real>"), "a real");
    expectCarried(xmlDock("<real>-1.5e-7</real>"), "a real with an exponent");
    expectCarried(xmlDock("<data>\n\tAAEC\n\tAw==\n\t</data>"), "wrapped data");
    expectCarried(xmlDock("<date>2024-05-01T12:30:00Z</date>"), "a date");
    expectCarried(xmlDock("<string>a&lt;&#x4E2D;<![CDATA[<b>]]> c</string>"), "text with references");
    expectCarried(xmlDock("<array><dict><key>k</key><true/></dict><string/></array>"), "containers");
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

// Tests that stored integers read as stored, from binary (16-byte unsigned
// and 8-byte negative objects) and XML files alike, and that a value the
// reader cannot hold exactly (a string with a NUL, an integer beyond 64
// bits) never reads as a shorter string or another number.
TEST_F(DockWriteFidelityTest, ReadsStoredValuesExactly) {
    const std::string autohide = ascii("autohide-delay");
    const std::vector<std::pair<std::string, std::string>> readable = {
        {"2^63", integer16(0, std::uint64_t{1} << 63)},
        {"2^64-1", integer16(0, ~std::uint64_t{0})},
        {"-1", std::string("\x13") + std::string(8, '\xFF')},
    };
    const char* expected[] = {"9223372036854775808", "18446744073709551615", "-1"};
    for (std::size_t i = 0; i < readable.size(); ++i) {
        disk.write(dockFile, binaryDock({{autohide, readable[i].second}}));
        EXPECT_EQ(dock::dockRead()["autohide-delay"].dump(), expected[i]) << "binary " << readable[i].first;
        disk.write(dockFile, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>autohide-delay</key><integer>" +
                                 std::string(expected[i]) + "</integer></dict></plist>\n");
        EXPECT_EQ(dock::dockRead()["autohide-delay"].dump(), expected[i]) << "XML " << readable[i].first;
    }
    const std::vector<std::pair<std::string, std::string>> unreadable = {
        {"ASCII NUL", std::string("\x53" "a\0b", 4)},
        {"UTF-16 NUL", utf16({'a', 0, 'b'})},
        {"beyond 64 bits", integer16(1, 5)},
    };
    for (const auto& [what, object] : unreadable) {
        disk.write(dockFile, binaryDock({{ascii("autohide"), object}, {autohide, integerOne}}));
        json state = dock::dockRead();
        EXPECT_TRUE(state["autohide"].is_null()) << what << ": " << state.dump();
    }
}

}  // namespace
