// Contract tests of platform::Accessibility: the trust check answers what
// the person decided (a prompt does not change it), and reading the
// menu-bar extras of a process that has none to read fails instead of
// answering, from the background worker as from the main thread.

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Accessibility.h"
#include "platform/Application.h"
#include "platform/RunLoop.h"
#include "tests/platform/ContractHarness.h"

namespace {

using namespace orvane::contract;

// No process has this pid: pids are positive and far below it.
constexpr int pidOfNoProcess = 0x7ffffff0;

class PlatformContractAccessibility : public ::testing::Test {};

// Tests that isTrusted reports the person's decision with and without a
// prompt, and that the answer is the same on every call.
TEST_F(PlatformContractAccessibility, TrustIsThePersonsDecision) {
    contractReset();
    auto& accessibility = platform::accessibility();
    EXPECT_FALSE(accessibility.isTrusted(false));
    EXPECT_FALSE(accessibility.isTrusted(true)) << "a prompt asks, it does not grant";
    EXPECT_FALSE(accessibility.isTrusted(false));

    contractReset({.accessibilityTrusted = true});
    EXPECT_TRUE(platform::accessibility().isTrusted(false));
    EXPECT_TRUE(platform::accessibility().isTrusted(true));
}

// Tests that the extras of a process that does not exist are a failure, not
// an empty list, both on the main thread and on the background worker (where
// the logic reads them), and that the worker's answer comes back through
// postToMain.
TEST_F(PlatformContractAccessibility, ExtrasOfNoProcessFailOnAnyThread) {
    contractReset({.accessibilityTrusted = true});
    EXPECT_FALSE(platform::accessibility().extras(pidOfNoProcess, 1.0));
    EXPECT_FALSE(platform::accessibility().extras(-1, 1.0));

    // Shared with the jobs, which may outlive this test if it gives up waiting.
    struct Answer {
        std::atomic<bool> readOffMain{false};
        bool answered = false;
        std::optional<std::vector<platform::MenuBarExtra>> fromWorker = std::vector<platform::MenuBarExtra>{};
    };
    auto answer = std::make_shared<Answer>();
    platform::runLoop().background([answer] {
        answer->readOffMain = !platform::runLoop().isMainThread();
        auto extras = platform::accessibility().extras(pidOfNoProcess, 1.0);
        platform::runLoop().postToMain([answer, extras = std::move(extras)]() mutable {
            answer->fromWorker = std::move(extras);
            answer->answered = true;
        });
    });
    ASSERT_TRUE(contractRunUntil([&] { return answer->answered; }, 10));
    EXPECT_TRUE(answer->readOffMain);
    EXPECT_FALSE(answer->fromWorker);
}

}  // namespace
