// Contract tests of platform::Application: this process as the platform
// describes it agrees with the workspace's running application of the same
// pid, and activating it makes that application the active one.

#include <gtest/gtest.h>

#include <memory>

#include "platform/Application.h"
#include "platform/Workspace.h"
#include "tests/platform/ContractHarness.h"

namespace {

using namespace orvane::contract;

class PlatformContractApplication : public ::testing::Test {
protected:
    void SetUp() override { contractReset(); }

    platform::RunningApp ourselves() {
        for (const auto& app : platform::workspace().runningApplications())
            if (app->processIdentifier() == platform::application().processIdentifier()) return app;
        return nullptr;
    }
};

// Tests that the pid, bundle path and bundle identifier match the running
// application the workspace lists for this process, and that activating
// ignoring other apps makes it active (now or on a later turn of the loop).
TEST_F(PlatformContractApplication, DescribesTheRunningHostAndActivatesIt) {
    auto& application = platform::application();
    EXPECT_GT(application.processIdentifier(), 0);
    const auto app = ourselves();
    ASSERT_TRUE(app) << "the workspace lists this process";
    ASSERT_TRUE(application.mainBundleIdentifier());
    EXPECT_FALSE(application.mainBundleIdentifier()->empty());
    EXPECT_EQ(app->bundleIdentifier(), application.mainBundleIdentifier());
    EXPECT_EQ(app->bundlePath(), application.mainBundlePath());

    application.activateIgnoringOtherApps(true);
    EXPECT_TRUE(contractRunUntil([&] {
        contractAdvance(0.1);
        return ourselves() && ourselves()->isActive();
    }, 10));
}

}  // namespace
