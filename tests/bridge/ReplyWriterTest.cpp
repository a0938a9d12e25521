// Tests of the reply writer's exact byte format.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "bridge/ReplyWriter.h"
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

}  // namespace
}  // namespace orvane
