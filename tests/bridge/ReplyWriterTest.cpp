// Tests of the reply writer's exact byte format.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "bridge/ReplyWriter.h"
#include "model/JsonOutput.h"
#include "platform/Json.h"

namespace orvane {
namespace {

std::string written(const nlohmann::json& value) {
    const auto text = writeReply(value);
    return text ? *text : "<unwritable>";
}

// Tests that objects are compact with sorted keys, slashes escaped and non-ASCII left as UTF-8.
TEST(ReplyWriterTest, WritesCompactSortedRawUtf8WithEscapedSlashes) {
    nlohmann::json value = {{"path", "/Applications/岚舟.app"}, {"b", nlohmann::json::array({1, true, nullptr})}, {"a", ""}};
    EXPECT_EQ(written(value), R"({"a":"","b":[1,true,null],"path":"\/Applications\/岚舟.app"})");
    EXPECT_EQ(written("tab\there\nnew\x01\"q\"\\"), R"("tab\there\nnew\u0001\"q\"\\")");
    EXPECT_EQ(written(nlohmann::json::object()), "{}");
    EXPECT_EQ(written(nlohmann::json::array()), "[]");
}

// Tests that integral doubles lose their fraction and others round-trip in shortest form.
TEST(ReplyWriterTest, WritesNumbersLikeThePlatform) {
    EXPECT_EQ(written(206.0), "206");
    EXPECT_EQ(written(-24.0), "-24");
    EXPECT_EQ(written(0.0), "0");
    EXPECT_EQ(written(-0.0), "0");
    EXPECT_EQ(written(0.1), "0.1");
    EXPECT_EQ(written(1.0 / 3.0), "0.3333333333333333");
    EXPECT_EQ(written(1e20), "100000000000000000000");
    EXPECT_EQ(std::stod(written(1e300)), 1e300);
    EXPECT_EQ(written(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(written(std::numeric_limits<std::uint64_t>::max()), "18446744073709551615");
}

// Tests that values JSON cannot carry make the whole reply unwritable.
TEST(ReplyWriterTest, RefusesNonFiniteNumbersAndInvalidText) {
    EXPECT_FALSE(writeReply(nlohmann::json{{"x", std::nan("")}}));
    EXPECT_FALSE(writeReply(nlohmann::json::array({std::numeric_limits<double>::infinity()})));
    EXPECT_FALSE(writeReply(nlohmann::json(std::string("\xC3\x28"))));
    nlohmann::json badKey = nlohmann::json::object();
    badKey[std::string("\xFF")] = 1;
    EXPECT_FALSE(writeReply(badKey));
}

// Tests that data written straight into a reply comes out as its tree would,
// and that the reply is refused when the writer breaks the shape a reply
// needs: keys out of order or twice, a member without its key or value, two
// values, a value left open.
TEST(ReplyWriterTest, WrittenDataMatchesItsTreeAndMustBeWellFormed) {
    const auto written = writeSuccessReply(JsonWriter([](JsonOutput& out) {
        out.beginObject();
        out.key("a/b").string("\x01\"");
        out.key("list").beginArray();
        out.integer(-3);
        out.unsignedInteger(18446744073709551615u);
        out.number(2.5);
        out.number(64.0);
        out.boolean(false);
        out.value(nlohmann::json{{"z", 1}, {"m", nullptr}});
        out.endArray();
        out.key("z").beginObject();
        out.endObject();
        out.endObject();
    }));
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, R"({"data":{"a\/b":"\u0001\"","list":[-3,18446744073709551615,2.5,64,false,{"m":null,"z":1}],"z":{}},"ok":true})");
    EXPECT_EQ(*written, writeSuccessReply(nlohmann::json::parse(*written)["data"]).value_or(""));

    const std::vector<std::pair<const char*, JsonWriter>> malformed{
        {"keys out of order", [](JsonOutput& out) { out.beginObject(); out.key("b").integer(1); out.key("a").integer(2); out.endObject(); }},
        {"a key twice", [](JsonOutput& out) { out.beginObject(); out.key("a").integer(1); out.key("a").integer(2); out.endObject(); }},
        {"a member without its key", [](JsonOutput& out) { out.beginObject(); out.integer(1); out.endObject(); }},
        {"a key without its value", [](JsonOutput& out) { out.beginObject(); out.key("a"); out.endObject(); }},
        {"a key in an array", [](JsonOutput& out) { out.beginArray(); out.key("a").integer(1); out.endArray(); }},
        {"no value", [](JsonOutput&) {}},
        {"two values", [](JsonOutput& out) { out.integer(1); out.integer(2); }},
        {"an array left open", [](JsonOutput& out) { out.beginArray(); }},
        {"an array closed as an object", [](JsonOutput& out) { out.beginArray(); out.endObject(); }},
        {"a non-finite number", [](JsonOutput& out) { out.number(std::nan("")); }},
        {"text that is not UTF-8", [](JsonOutput& out) { out.string("\xC3\x28"); }},
    };
    for (const auto& [what, writer] : malformed) EXPECT_FALSE(writeSuccessReply(writer)) << what;
}

}  // namespace
}  // namespace orvane
