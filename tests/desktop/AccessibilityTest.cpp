// Tests of accessibility on the simulated Mac: the trust check and its
// prompts, reading an app's menu-bar extras as the scene describes them,
// unresponsive apps, and reads from the worker while the main thread
// launches and quits apps.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "platform/Accessibility.h"
#include "platform/RunLoop.h"
#include "platform/Workspace.h"
#include "tests/desktop/ScratchDisk.h"

namespace {

using nlohmann::json;

json accessibilityScene() {
    return json::parse(R"({
      "accessibilityTrusted": false,
      "apps": [
        {"bundleId": "com.example.Extra", "name": "Extra", "path": "/Applications/Extra.app",
         "extras": [{"frame": [1180, 0, 30, 37]},
                    {"frame": [1100, 2, 20, 20], "hidden": true, "pressable": false, "ownerPid": 4242},
                    {"hidden": false}]},
        {"bundleId": "com.example.Plain", "name": "Plain", "path": "/Applications/Plain.app"},
        {"bundleId": "com.example.Sealed", "name": "Sealed", "path": "/Applications/Sealed.app", "extrasReadable": false},
        {"bundleId": "com.example.Closed", "name": "Closed", "path": "/Applications/Closed.app",
         "extras": [{"frame": [0, 0, 10, 10]}], "extrasChildrenReadable": false},
        {"bundleId": "com.example.Hung", "name": "Hung", "path": "/Applications/Hung.app",
         "extras": [{"frame": [0, 0, 10, 10]}], "unresponsive": true}
      ]
    })");
}

class AccessibilityTest : public ::testing::Test {
protected:
    void SetUp() override { desktop::reset(orvane::test::onScratchDisk(accessibilityScene()), desktop::Clock::manual); }

    int pidOf(const std::string& bundleId) {
        for (const auto& app : platform::workspace().runningApplications())
            if (app->bundleIdentifier() == bundleId) return app->processIdentifier();
        return 0;
    }
};

// Tests that the trust check follows the permission and counts prompts.
TEST_F(AccessibilityTest, TrustFollowsPermissionAndCountsPrompts) {
    auto& ax = platform::accessibility();
    EXPECT_FALSE(ax.isTrusted(false));
    EXPECT_FALSE(ax.isTrusted(true));
    EXPECT_EQ(desktop::state()["accessibility"]["prompts"], 1);
    EXPECT_TRUE(desktop::verb("grant accessibility")["ok"].get<bool>());
    EXPECT_TRUE(ax.isTrusted(false));
    EXPECT_TRUE(desktop::verb("revoke accessibility")["ok"].get<bool>());
    EXPECT_FALSE(ax.isTrusted(false));
    EXPECT_EQ(desktop::state()["accessibility"]["prompts"], 1);
}

// Tests that extras come as the scene gives them: frames as top-left position
// and size, the owner defaulting to the app, flags, absent frames; an app
// without extras has an empty element; unreadable elements, quit and unknown
// processes fail.
TEST_F(AccessibilityTest, ExtrasAsTheSceneDescribes) {
    auto& ax = platform::accessibility();
    int extra = pidOf("com.example.Extra");
    auto extras = ax.extras(extra, 0.12);
    ASSERT_TRUE(extras.has_value());
    ASSERT_EQ(extras->size(), 3u);
    EXPECT_EQ((*extras)[0].ownerPid, extra);
    EXPECT_EQ((*extras)[0].position, (platform::Point{1180, 0}));
    EXPECT_EQ((*extras)[0].size, (platform::Size{30, 37}));
    EXPECT_FALSE((*extras)[0].hidden);
    EXPECT_TRUE((*extras)[0].pressable);
    EXPECT_EQ((*extras)[1].ownerPid, 4242);
    EXPECT_TRUE((*extras)[1].hidden);
    EXPECT_FALSE((*extras)[1].pressable);
    EXPECT_FALSE((*extras)[2].position.has_value());
    EXPECT_FALSE((*extras)[2].size.has_value());

    auto plain = ax.extras(pidOf("com.example.Plain"), 0.12);
    ASSERT_TRUE(plain.has_value());
    EXPECT_TRUE(plain->empty());
    EXPECT_FALSE(ax.extras(pidOf("com.example.Sealed"), 0.12).has_value());
    EXPECT_FALSE(ax.extras(pidOf("com.example.Closed"), 0.12).has_value());
    EXPECT_FALSE(ax.extras(-1, 0.12).has_value());
    EXPECT_FALSE(ax.extras(getpid(), 0.12).has_value()) << "this process is not read through the mirror";

    ASSERT_TRUE(desktop::verb("quit com.example.Extra")["ok"].get<bool>());
    EXPECT_FALSE(ax.extras(extra, 0.12).has_value());
    ASSERT_TRUE(desktop::verb("launch com.example.Extra")["ok"].get<bool>());
    int relaunched = pidOf("com.example.Extra");
    auto again = ax.extras(relaunched, 0.12);
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ((*again)[0].ownerPid, relaunched) << "the owner follows the new pid";
}

// Tests that an unresponsive app holds the read for the caller's timeout on
// the real clock and then fails.
TEST_F(AccessibilityTest, UnresponsiveAppFailsAfterTimeout) {
    int hung = pidOf("com.example.Hung");
    auto start = std::chrono::steady_clock::now();
    auto extras = platform::accessibility().extras(hung, 0.12);
    double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_FALSE(extras.has_value());
    EXPECT_GE(elapsed, 0.12);
}

// Tests that the worker can read extras while the main thread launches and
// quits the apps it reads: each read is a whole answer or a failure.
TEST_F(AccessibilityTest, ThreadedReadsWhileAppsComeAndGo) {
    std::atomic<bool> stop{false};
    std::atomic<int> reads{0};
    std::atomic<int> malformed{0};
    std::atomic<bool> finished{false};
    std::vector<int> pids;
    for (const auto& app : platform::workspace().runningApplications()) pids.push_back(app->processIdentifier());
    platform::runLoop().background([&, pids] {
        while (!stop.load()) {
            for (int pid = pids.front(); pid < pids.front() + 40; ++pid) {
                auto extras = platform::accessibility().extras(pid, 0.001);
                if (extras && !extras->empty() && !(*extras)[0].size) ++malformed;
                ++reads;
            }
        }
        finished = true;
    });
    ASSERT_TRUE(desktop::runUntil([&] { return reads.load() > 0; }, 5));
    for (int round = 0; round < 30; ++round) {
        EXPECT_TRUE(desktop::verb("quit com.example.Extra")["ok"].get<bool>());
        EXPECT_TRUE(desktop::verb("launch com.example.Extra")["ok"].get<bool>());
        EXPECT_TRUE(desktop::verb("quit com.example.Plain")["ok"].get<bool>());
        EXPECT_TRUE(desktop::verb("launch com.example.Plain")["ok"].get<bool>());
    }
    stop = true;
    ASSERT_TRUE(desktop::runUntil([&] { return finished.load(); }, 10));
    EXPECT_GT(reads.load(), 0);
    EXPECT_EQ(malformed.load(), 0);
}

}  // namespace
