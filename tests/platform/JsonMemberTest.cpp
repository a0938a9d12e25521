// Tests the one set of typed member readers every layer reads JSON with.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "platform/JsonMember.h"

namespace {

using platform::Json;

// Tests that a member is read only with exactly its type, and a value that
// is not an object has no members.
TEST(JsonMemberTest, MembersNeedTheirExactType) {
    const Json object = {{"text", "a"}, {"flag", true}, {"count", 3}, {"ratio", 0.5}, {"none", nullptr}};
    EXPECT_EQ(platform::stringMember(object, "text"), "a");
    EXPECT_FALSE(platform::stringMember(object, "count"));
    EXPECT_FALSE(platform::stringMember(object, "none"));
    EXPECT_EQ(platform::boolMember(object, "flag"), true);
    EXPECT_FALSE(platform::boolMember(object, "count"));
    EXPECT_EQ(platform::integerMember(object, "count"), 3);
    EXPECT_FALSE(platform::integerMember(object, "ratio"));
    EXPECT_FALSE(platform::integerMember(object, "flag"));
    EXPECT_EQ(platform::numberMember(object, "ratio"), 0.5);
    EXPECT_EQ(platform::numberMember(object, "count"), 3.0);
    EXPECT_FALSE(platform::numberMember(object, "flag"));
    EXPECT_TRUE(platform::member(object, "missing").is_null());
    EXPECT_TRUE(platform::member(Json::array({1}), "text").is_null());
    EXPECT_FALSE(platform::stringMember(Json("text"), "text"));
}

// Tests that integers beyond the signed 64-bit range saturate and negative ones stay.
TEST(JsonMemberTest, LargeIntegersSaturate) {
    const Json object = {{"huge", std::numeric_limits<std::uint64_t>::max()}, {"low", -7}};
    EXPECT_EQ(platform::integerMember(object, "huge"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(platform::integerMember(object, "low"), -7);
}

}  // namespace
