// Tests through the library's entry point that the Dock's values reach the
// host exactly as the file stores them (integers across the whole signed and
// unsigned 64-bit range, strings holding a NUL), or read as null when they
// cannot be held exactly, never as another number or a shorter string; and
// that a saved Dock state written back restores the very values it holds.

#include <gtest/gtest.h>
#include <plist/plist.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "dock/DockTexts.h"
#include "tests/desktop/TemporaryDisk.h"
#include "tests/dock/RawDockList.h"
#include "tests/support/Call.h"

namespace orvane::test {
namespace {

using nlohmann::json;

// A stored value as two files that hold it, and the number or string text
// the host must see for it.
struct StoredValue {
    std::string what;
    std::string binaryObject;
    std::string xmlElement;
    std::string replyText;
};

std::string xmlInteger(const std::string& digits) { return "<integer>" + digits + "</integer>"; }

const std::vector<StoredValue> exactNumbers = {
    {"2^63", integer16Object(0, std::uint64_t{1} << 63), xmlInteger("9223372036854775808"), "9223372036854775808"},
    {"2^64-1", integer16Object(0, ~std::uint64_t{0}), xmlInteger("18446744073709551615"), "18446744073709551615"},
    {"INT64_MIN", integer8Object(std::uint64_t{1} << 63), xmlInteger("-9223372036854775808"), "-9223372036854775808"},
    {"-1", integer8Object(~std::uint64_t{0}), xmlInteger("-1"), "-1"},
    {"2^32-1 in 4 bytes", std::string("\x12\xFF\xFF\xFF\xFF", 5), xmlInteger("4294967295"), "4294967295"},
};

// The text of the property list's own XML writer for the file's value under
// key: libplist prints each integer as stored, whatever our reader makes of it.
std::string storedXml(const std::string& bytes, const char* key) {
    plist_t root = nullptr;
    plist_from_bin(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &root);
    if (!root) return "(not a binary list)";
    plist_t value = plist_dict_get_item(root, key);
    std::string text = "(missing)";
    if (value) {
        plist_t copy = plist_copy(value);
        char* out = nullptr;  // libplist writes nothing unless this starts out null
        std::uint32_t length = 0;
        plist_to_xml(copy, &out, &length);
        if (out) {
            std::string xml(out, length);
            auto start = xml.find("<plist version=\"1.0\">\n");
            auto end = xml.rfind("\n</plist>");
            text = start == std::string::npos || end == std::string::npos ? xml : xml.substr(start + 22, end - start - 22);
            plist_to_xml_free(out);
        }
        plist_free(copy);
    }
    plist_free(root);
    return text;
}

class DockStoredValuesTest : public ::testing::Test {
protected:
    void SetUp() override { desktop::reset(disk.scene({{"apps", {runningDock()}}}), desktop::Clock::manual); }
    void TearDown() override { call("stop"); }

    // The reply text of dockRead for a file whose autohide-delay holds the value.
    std::string readDelay(const std::string& bytes) {
        disk.write(dockFile, bytes);
        return callText(R"({"command":"dockRead"})");
    }
    static std::string replyWithDelay(const std::string& delay) {
        return R"({"data":{"autohide":false,"autohide-delay":)" + delay + R"(},"ok":true})";
    }

    TemporaryDisk disk;
};

// Tests that integers from 2^63 up read as unsigned numbers and negative ones
// with their sign, from binary and XML files alike, in the reply text the
// host receives; and that snapshot's Dock status still reads the state.
TEST_F(DockStoredValuesTest, ReadsIntegersAsStored) {
    const std::string autohide = asciiObject("autohide");
    const std::string delay = asciiObject("autohide-delay");
    for (const auto& value : exactNumbers) {
        EXPECT_EQ(readDelay(binaryDock({{autohide, "\x08"}, {delay, value.binaryObject}})), replyWithDelay(value.replyText))
            << "binary " << value.what;
        EXPECT_EQ(readDelay(xmlDock({{"autohide", "<false/>"}, {"autohide-delay", value.xmlElement}})),
                  replyWithDelay(value.replyText))
            << "XML " << value.what;
    }
    const json reply = json::parse(readDelay(binaryDock({{autohide, "\x08"}, {delay, exactNumbers[1].binaryObject}})));
    EXPECT_TRUE(reply["data"]["autohide-delay"].is_number_unsigned()) << reply.dump();
}

// Tests that a UTF-16 string holding a NUL reads whole, and that values the
// reader cannot hold exactly read as null: strings cut or garbled at a NUL,
// a lone surrogate that would be dropped, integers outside 64 bits and
// numbers with stray text.
TEST_F(DockStoredValuesTest, NeverReadsAShorterStringOrAnotherNumber) {
    const std::string autohide = asciiObject("autohide");
    const std::string delay = asciiObject("autohide-delay");
    EXPECT_EQ(readDelay(binaryDock({{autohide, "\x08"}, {delay, utf16Object({'a', 0, 'b'})}})), replyWithDelay(R"("a\u0000b")"))
        << "UTF-16 with a NUL";

    const std::vector<std::pair<std::string, std::string>> binaryUnreadable = {
        {"ASCII with a NUL", std::string("\x53" "a\0b", 4)},
        {"a lone surrogate", utf16Object({'a', 0xD800, 'b'})},
        {"beyond 64 bits", integer16Object(1, 5)},
        {"negative in 16 bytes", integer16Object(~std::uint64_t{0}, ~std::uint64_t{0})},
    };
    for (const auto& [what, object] : binaryUnreadable) {
        const json state = json::parse(readDelay(binaryDock({{autohide, "\x08"}, {delay, object}})))["data"];
        EXPECT_TRUE(state["autohide-delay"].is_null()) << "binary " << what << ": " << state.dump();
    }
    const std::vector<std::pair<std::string, std::string>> xmlUnreadable = {
        {"2^64", xmlInteger("18446744073709551616")},
        {"below INT64_MIN", xmlInteger("-9223372036854775809")},
        {"hexadecimal", xmlInteger("0x10")},
        {"trailing text", xmlInteger("5abc")},
        {"a real with trailing text", "<real>1.5abc</real>"},
        {"text with a NUL, which the XML reader garbles", std::string("<string>a\0b</string>", 20)},
    };
    for (const auto& [what, element] : xmlUnreadable) {
        const json state = json::parse(readDelay(xmlDock({{"autohide", "<false/>"}, {"autohide-delay", element}})))["data"];
        EXPECT_TRUE(state["autohide-delay"].is_null()) << "XML " << what << ": " << state.dump();
    }
}

// Tests that a Dock state saved with dockRead and handed back to dockWrite
// after hiding stores each integer as it was, that a key the write does not
// set keeps its integer, and that a string the file format cannot store whole
// is refused with the file left as it was, never stored shorter.
TEST_F(DockStoredValuesTest, WritingASavedStateBackRestoresIt) {
    const std::string autohide = asciiObject("autohide");
    const std::string delay = asciiObject("autohide-delay");
    const std::string big = asciiObject("big");
    for (const auto& value : exactNumbers) {
        disk.write(dockFile, binaryDock({{autohide, "\x09"}, {delay, value.binaryObject}, {big, value.binaryObject}}));
        const json saved = data("dockRead");
        ASSERT_EQ(data("dockWrite", {{"autohide", true}, {"autohide-delay", 315360000.0}}),
                  json({{"autohide", true}, {"autohide-delay", 315360000.0}}))
            << value.what;
        EXPECT_EQ(storedXml(disk.read(dockFile), "big"), value.xmlElement) << value.what << ": a key the write leaves alone";
        EXPECT_EQ(data("dockWrite", saved).dump(), saved.dump()) << value.what;
        EXPECT_EQ(storedXml(disk.read(dockFile), "autohide-delay"), value.xmlElement) << value.what << ": restored";
    }

    disk.write(dockFile, binaryDock({{autohide, "\x08"}, {delay, utf16Object({'a', 0, 'b'})}}));
    const json saved = data("dockRead");
    ASSERT_EQ(saved["autohide-delay"], std::string("a\0b", 3));
    const std::string hidden = binaryDock({{autohide, "\x09"}, {delay, integer8Object(315360000)}});
    disk.write(dockFile, hidden);
    EXPECT_EQ(call("dockWrite", saved), json({{"ok", false}, {"error", dock::text::cannotSave}}));
    EXPECT_EQ(disk.read(dockFile), hidden) << "a refused restore leaves the file byte for byte";
}

}  // namespace
}  // namespace orvane::test
