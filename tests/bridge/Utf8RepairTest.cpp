// Tests of UTF-8 validation and repair by maximal ill-formed subparts.
#include <gtest/gtest.h>

#include "platform/Utf8.h"

namespace platform {
namespace {

const std::string fffd = "\xEF\xBF\xBD";

// Tests that each maximal ill-formed subpart becomes exactly one replacement character.
TEST(Utf8RepairTest, ReplacesMaximalSubparts) {
    EXPECT_EQ(repairUtf8("中文"), "中文");
    EXPECT_EQ(repairUtf8("a\xE4\xB8" "b"), "a" + fffd + "b");           // cut-off 中
    EXPECT_EQ(repairUtf8("\xFF\xFE"), fffd + fffd);
    EXPECT_EQ(repairUtf8("\xC0\xAF"), fffd + fffd);                     // overlong '/'
    EXPECT_EQ(repairUtf8("\xED\xA0\x80"), fffd + fffd + fffd);          // surrogate
    EXPECT_EQ(repairUtf8("\xF4\x90\x80\x80"), fffd + fffd + fffd + fffd);  // beyond U+10FFFF
    EXPECT_EQ(repairUtf8("\xF0\x9F\x98"), fffd);                        // cut-off emoji
    EXPECT_EQ(repairUtf8("\x80x"), fffd + "x");
    EXPECT_TRUE(isValidUtf8("\xF0\x9F\x98\x80"));
    EXPECT_FALSE(isValidUtf8("\xE0\x80\x80"));
}

}  // namespace
}  // namespace platform
