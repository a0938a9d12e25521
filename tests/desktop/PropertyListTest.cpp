// Tests of the property-list reader and writer that the simulated Mac's
// preference files and Info.plist files go through.

#include <gtest/gtest.h>
#include <plist/plist.h>

#include <string>

#include <nlohmann/json.hpp>

#include "desktop/propertylist/PropertyList.h"
#include "tests/dock/RawDockList.h"

namespace {

using orvane::test::binaryList;

using nlohmann::json;
using desktop::parsePropertyList;

json everyType() {
    return {{"flag", true},
            {"off", false},
            {"count", 48},
            {"negative", -7},
            {"big", 9007199254740993LL},
            {"ratio", 0.5},
            {"wholeReal", 315360000.0},
            {"text", "下载 Downloads"},
            {"list", {1, 2.5, "three", json::array(), json::object()}},
            {"nested", {{"inner", {{"deeper", {1, 2}}}}}},
            {"bytes", {{"$plist", "data"}, {"base64", "AAEC/w=="}}},
            {"when", {{"$plist", "date"}, {"seconds", 724000000.25}}},
            {"uid", {{"$plist", "uid"}, {"value", 7}}}};
}

std::string array(std::initializer_list<int> references) {
    std::string object(1, static_cast<char>(0xA0 | references.size()));
    for (int reference : references) object += static_cast<char>(reference);
    return object;
}

// Tests that every type survives binary and XML round trips with its JSON
// type: integers stay integers, reals stay reals, data, dates and UIDs stay
// tagged. XML, like the platform's own, keeps dates to the second and writes
// a UID as a {"CF$UID": n} dictionary.
TEST(PropertyList, RoundTripsKeepEveryType) {
    for (bool binary : {true, false}) {
        json values = everyType();
        auto bytes = binary ? desktop::binaryPropertyList(values) : desktop::xmlPropertyList(values);
        ASSERT_TRUE(bytes) << (binary ? "binary" : "XML");
        auto back = parsePropertyList(*bytes);
        ASSERT_TRUE(back);
        if (!binary) {
            values["when"]["seconds"] = 724000000.0;
            values["uid"] = {{"CF$UID", 7}};
        }
        EXPECT_EQ(*back, values) << back->dump();
        EXPECT_TRUE((*back)["count"].is_number_integer());
        EXPECT_TRUE((*back)["wholeReal"].is_number_float());
        EXPECT_EQ((*back)["big"].get<long long>(), 9007199254740993LL);
    }
    EXPECT_EQ(desktop::binaryPropertyList(everyType())->substr(0, 8), "bplist00");
}

// Tests that values without a property-list form are refused rather than
// written wrongly.
TEST(PropertyList, RefusesValuesWithoutAListForm) {
    EXPECT_FALSE(desktop::binaryPropertyList(json(nullptr)));
    EXPECT_FALSE(desktop::binaryPropertyList(json{{"a", {1, nullptr}}}));
    EXPECT_FALSE(desktop::binaryPropertyList(json{{"bytes", {{"$plist", "data"}, {"base64", "!!"}}}}));
    json deep = 1;
    for (int i = 0; i < desktop::maxPropertyListDepth + 1; ++i) deep = json::array({deep});
    EXPECT_FALSE(desktop::binaryPropertyList(deep));
    // Would be cut short at the NUL.
    EXPECT_FALSE(desktop::binaryPropertyList(json{{"a", std::string("x\0y", 3)}}));
    EXPECT_FALSE(desktop::binaryPropertyList(json{{std::string("k\0", 2), 1}}));
    // Unsigned integers from 2^63 up keep their value in both formats.
    json unsignedValues = json::array({9223372036854775808ULL, 18446744073709551615ULL, -1, 1});
    EXPECT_EQ(parsePropertyList(*desktop::binaryPropertyList(unsignedValues))->dump(), unsignedValues.dump());
    EXPECT_EQ(parsePropertyList(*desktop::xmlPropertyList(unsignedValues))->dump(), unsignedValues.dump());
    EXPECT_EQ(*parsePropertyList(*desktop::binaryPropertyList(json{{"a", 9223372036854775807ULL}})),
              json({{"a", 9223372036854775807LL}}));
}

// Tests that hostile and broken files are refused: cycles, a container
// reached twice (an exponential expansion), nesting past the limit in
// either format, truncation and garbage.
TEST(PropertyList, RefusesHostileFiles) {
    std::string integer = std::string("\x10\x05", 2);
    EXPECT_TRUE(parsePropertyList(binaryList({array({1}), integer})));
    EXPECT_EQ(*parsePropertyList(binaryList({array({1, 1}), integer})), json::array({5, 5})) << "shared scalars are fine";

    EXPECT_FALSE(parsePropertyList(binaryList({array({0})}))) << "an array holding itself";
    EXPECT_FALSE(parsePropertyList(binaryList({array({1}), array({0})}))) << "two arrays holding each other";
    EXPECT_FALSE(parsePropertyList(binaryList({array({1, 1}), array({2}), integer}))) << "one array referenced twice";

    // 40 levels of [next, next]: 2^40 copies if every reference were expanded.
    std::vector<std::string> bomb;
    for (int level = 0; level < 40; ++level) bomb.push_back(array({level + 1, level + 1}));
    bomb.push_back(integer);
    EXPECT_FALSE(parsePropertyList(binaryList(bomb)));

    // Deep nesting needs wider references than binaryList writes; libplist builds it.
    plist_t root = plist_new_array();
    plist_t node = root;
    for (int level = 0; level < 300; ++level) {
        plist_t child = plist_new_array();
        plist_array_append_item(node, child);
        node = child;
    }
    char* out = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &out, &length);
    ASSERT_NE(out, nullptr);
    EXPECT_FALSE(parsePropertyList(std::string(out, length))) << "300 levels of binary nesting";
    plist_to_bin_free(out);
    out = nullptr;
    plist_to_xml(root, &out, &length);
    ASSERT_NE(out, nullptr);
    EXPECT_FALSE(parsePropertyList(std::string(out, length))) << "300 levels of XML nesting";
    plist_to_xml_free(out);
    plist_free(root);

    std::string good = *desktop::binaryPropertyList(everyType());
    EXPECT_FALSE(parsePropertyList(good.substr(0, good.size() - 5)));
    EXPECT_FALSE(parsePropertyList(good.substr(0, 20)));
    EXPECT_FALSE(parsePropertyList(""));
    EXPECT_FALSE(parsePropertyList("not a property list"));
    EXPECT_FALSE(parsePropertyList("<plist><dict><key>a</key>"));

    // A dictionary whose key holds a NUL, as ASCII and as UTF-16 text: libplist
    // would abort the process on it.
    std::string dict = std::string("\xD1\x01\x02", 3);
    EXPECT_EQ(*parsePropertyList(binaryList({dict, std::string("\x51k", 2), integer})), json({{"k", 5}}));
    EXPECT_FALSE(parsePropertyList(binaryList({dict, std::string("\x52k\0", 3), integer})));
    EXPECT_FALSE(parsePropertyList(binaryList({dict, std::string("\x61\0\0", 3), integer})));
    // A key whose offset lies past the objects is refused without being read.
    std::string farKey = binaryList({dict, std::string("\x51k", 2), integer});
    std::size_t table = (static_cast<unsigned char>(farKey[farKey.size() - 2]) << 8) |
                        static_cast<unsigned char>(farKey.back());
    farKey[table + 2] = '\x7F';
    farKey[table + 3] = '\xFF';
    EXPECT_FALSE(parsePropertyList(farKey));
}

// Tests that a dictionary read a member at a time gives what the whole parse
// gives under every key, in both formats and with keys whose malformed UTF-8
// is repaired (two that repair alike: the last wins), and is refused exactly
// when the whole parse is or when its top level is not a dictionary.
// (libplist writes the malformed keys as "bad", so they read alike.)
TEST(PropertyList, MembersReadOneAtATimeAreTheWholeParse) {
    plist_t root = plist_new_dict();
    plist_dict_set_item(root, "plain", plist_new_uint(48));
    plist_dict_set_item(root, "bad\xff", plist_new_string("first"));
    plist_dict_set_item(root, "bad\xfe", plist_new_string("second"));
    plist_t deep = plist_new_array();
    plist_dict_set_item(root, "deep", deep);
    for (int level = 0; level < 300; ++level) {
        plist_t child = plist_new_array();
        plist_array_append_item(deep, child);
        deep = child;
    }
    char* out = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &out, &length);
    ASSERT_NE(out, nullptr);
    const std::string tooDeep(out, length);
    plist_to_bin_free(out);
    plist_dict_remove_item(root, "deep");
    out = nullptr;
    plist_to_bin(root, &out, &length);
    ASSERT_NE(out, nullptr);
    const std::string repairedKeys(out, length);
    plist_to_bin_free(out);
    plist_free(root);

    for (const std::string& bytes : {*desktop::binaryPropertyList(everyType()), *desktop::xmlPropertyList(everyType()), repairedKeys}) {
        const auto whole = parsePropertyList(bytes);
        const auto members = desktop::PropertyListDictionary::parse(bytes);
        ASSERT_TRUE(whole && members);
        for (const auto& [key, value] : whole->items()) EXPECT_EQ(members->value(key), value) << key;
        EXPECT_FALSE(members->value("missing"));
        EXPECT_FALSE(members->value(std::string("plain\0", 6))) << "a key holding a NUL is another key";
    }
    EXPECT_EQ(*parsePropertyList(repairedKeys), json({{"bad", "second"}, {"plain", 48}})) << "the two keys read alike";

    EXPECT_FALSE(parsePropertyList(tooDeep));
    EXPECT_FALSE(desktop::PropertyListDictionary::parse(tooDeep)) << "one member too deep refuses the whole list";
    EXPECT_FALSE(desktop::PropertyListDictionary::parse(binaryList({array({1}), std::string("\x10\x05", 2)}))) << "an array";
    EXPECT_FALSE(desktop::PropertyListDictionary::parse(binaryList({array({0})})));
    EXPECT_FALSE(desktop::PropertyListDictionary::parse("not a property list"));
}

// Tests that a merge changes only the named keys and keeps every other node
// as it was read, and refuses a file it could not write back faithfully.
TEST(PropertyList, MergeKeepsOtherKeysAndRefusesWhatItCannotRead) {
    std::string original = *desktop::binaryPropertyList(everyType());
    auto merged = desktop::mergeIntoPropertyList(original, {{"flag", json(false)}, {"text", std::nullopt}, {"added", json(2.0)}});
    ASSERT_TRUE(merged);
    json expected = everyType();
    expected["flag"] = false;
    expected.erase("text");
    expected["added"] = 2.0;
    EXPECT_EQ(*parsePropertyList(*merged), expected);

    EXPECT_EQ(*parsePropertyList(*desktop::mergeIntoPropertyList(std::nullopt, {{"a", json(1)}})), json({{"a", 1}}));
    EXPECT_FALSE(desktop::mergeIntoPropertyList(std::string("garbage"), {{"a", json(1)}}));
    EXPECT_FALSE(desktop::mergeIntoPropertyList(*desktop::binaryPropertyList(json::array({1})), {{"a", json(1)}}));
    EXPECT_FALSE(desktop::mergeIntoPropertyList(original, {{"a", json::array({nullptr})}}));

    // Text that is not UTF-8 reads repaired, but the writer would change it:
    // such a file is left for the user rather than rewritten with other keys.
    std::string integer = std::string("\x10\x05", 2);
    std::string dict = std::string("\xD2\x01\x02\x03\x04", 5);
    std::string notUtf8 = binaryList({dict, std::string("\x52k\xE9", 3), std::string("\x51v", 2), integer, integer});
    ASSERT_TRUE(parsePropertyList(notUtf8));
    EXPECT_FALSE(desktop::mergeIntoPropertyList(notUtf8, {{"a", json(1)}}));
    std::string valueNotUtf8 = binaryList({dict, std::string("\x51k", 2), std::string("\x51v", 2), std::string("\x51\xFF", 2), integer});
    ASSERT_TRUE(parsePropertyList(valueNotUtf8));
    EXPECT_FALSE(desktop::mergeIntoPropertyList(valueNotUtf8, {{"a", json(1)}}));
}

}  // namespace
