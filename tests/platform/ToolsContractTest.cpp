// Contract tests of platform::Tools: a tool that ran gives its exit status,
// one that could not be launched gives an error that says why, and the
// process-killing tool exits 1 when no process has the name.

#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "platform/Tools.h"
#include "tests/platform/ContractHarness.h"

namespace {

using namespace orvane::contract;

constexpr const char* killall = "/usr/bin/killall";
// killall's exit status when no process matched.
constexpr int noProcessMatched = 1;

class PlatformContractTools : public ::testing::Test {
protected:
    void SetUp() override { contractReset(); }
};

// Tests that a missing executable is a launch error with a domain and a
// description (not an exit status), and that killall exits 1, without
// acting, for a name no process has and for no name at all.
TEST_F(PlatformContractTools, ExitStatusOrLaunchError) {
    auto missing = platform::tools().run("/usr/bin/orvane-contract-no-such-tool", {"x"});
    ASSERT_TRUE(std::holds_alternative<platform::Error>(missing));
    const auto& error = std::get<platform::Error>(missing);
    EXPECT_FALSE(error.domain.empty());
    EXPECT_FALSE(error.description.empty());

    auto nobody = platform::tools().run(killall, {"OrvaneContractNoSuchProcess"});
    ASSERT_TRUE(std::holds_alternative<int>(nobody));
    EXPECT_EQ(std::get<int>(nobody), noProcessMatched);
}

}  // namespace
