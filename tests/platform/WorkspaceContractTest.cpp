// Contract tests of platform::Workspace's notifications: observers see the
// launch an open causes, on the main thread and later than the call, and a
// removed token sees nothing more.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/RunLoop.h"
#include "platform/Workspace.h"
#include "tests/platform/ContractHarness.h"

namespace {

using namespace orvane::contract;
namespace note = platform::notification;

class PlatformContractWorkspace : public ::testing::Test {
protected:
    void SetUp() override { contractReset(); }

    bool isRunning(const std::string& path) {
        for (const auto& app : platform::workspace().runningApplications())
            if (app->bundlePath() == path && !app->isTerminated()) return true;
        return false;
    }
};

// Tests that a launch reaches every observer of its name (and none of other
// names) on the main thread, that removing a token stops its delivery while
// the others go on, and that unknown tokens are ignored.
TEST_F(PlatformContractWorkspace, ObserversSeeLaunchesUntilTheirTokenIsRemoved) {
    auto& center = platform::workspace().notificationCenter();
    std::vector<std::string> first, second, other;
    bool onMain = true;
    auto firstToken = center.addObserver(note::didLaunchApplication, [&](const std::string& name) {
        onMain = onMain && platform::runLoop().isMainThread();
        first.push_back(name);
    });
    auto secondToken = center.addObserver(note::didLaunchApplication, [&](const std::string& name) { second.push_back(name); });
    auto otherToken = center.addObserver(note::didWake, [&](const std::string& name) { other.push_back(name); });
    EXPECT_NE(firstToken, secondToken);
    EXPECT_NE(firstToken, otherToken);

    const std::string path = contractLaunchableApplicationPath();
    ASSERT_FALSE(isRunning(path));
    platform::workspace().openApplication(path, false, nullptr);
    EXPECT_TRUE(first.empty()) << "notifications arrive on a later turn of the loop";
    ASSERT_TRUE(contractRunUntil([&] {
        contractAdvance(0.1);
        return !first.empty() && !second.empty();
    }, 10));
    EXPECT_EQ(first, (std::vector<std::string>{note::didLaunchApplication}));
    EXPECT_EQ(second, first);
    EXPECT_TRUE(other.empty());
    EXPECT_TRUE(onMain);
    EXPECT_TRUE(isRunning(path));

    center.removeObserver(firstToken);
    center.removeObserver(platform::ObserverToken{0xdeadbeef});
    platform::defaultNotificationCenter().removeObserver(secondToken);  // not that centre's token
    // A second open of the running app activates it, without a launch.
    platform::workspace().openApplication(path, true, nullptr);
    contractAdvance(1);
    EXPECT_EQ(first.size(), 1u);
    EXPECT_EQ(second.size(), 1u) << "opening a running app activates it, it does not launch again";
    center.removeObserver(secondToken);
    center.removeObserver(otherToken);
}

}  // namespace
