// Contract tests of platform::RunLoop: what the logic relies on from any
// backend's main run loop, through the header and the contract harness only.

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/RunLoop.h"
#include "tests/platform/ContractHarness.h"

namespace {

using namespace orvane::contract;
using platform::runLoop;

class PlatformContractRunLoop : public ::testing::Test {
protected:
    void SetUp() override { contractReset(); }
};

// Tests that post and after never run inside the call, run in due order with
// ties in scheduling order, and that a job scheduled by a job runs when due.
TEST_F(PlatformContractRunLoop, PostAndAfterRunLaterInDueOrder) {
    ASSERT_TRUE(runLoop().isMainThread());
    std::vector<std::string> ran;
    runLoop().after(0.3, [&] { ran.push_back("late"); });
    runLoop().after(0.1, [&] {
        ran.push_back("first");
        runLoop().after(0.1, [&] { ran.push_back("nested"); });
    });
    runLoop().after(0.1, [&] { ran.push_back("second"); });
    runLoop().post([&] { ran.push_back("post"); });
    EXPECT_TRUE(ran.empty()) << "nothing runs inside the scheduling call";

    const double start = runLoop().now();
    contractAdvance(0.15);
    EXPECT_EQ(ran, (std::vector<std::string>{"post", "first", "second"}));
    contractAdvance(0.2);
    EXPECT_EQ(ran, (std::vector<std::string>{"post", "first", "second", "nested", "late"}));
    EXPECT_GE(runLoop().now() - start, 0.35 - 1e-9);
}

// Tests that a cancelled job never runs (cancel twice is harmless), a job that
// ran stays finished, and that an invalidated timer stops firing, also when it
// invalidates itself from its own callback.
TEST_F(PlatformContractRunLoop, CancelledJobsAndInvalidatedTimersStop) {
    int cancelledRuns = 0, keptRuns = 0;
    platform::Job cancelled = runLoop().after(0.2, [&] { ++cancelledRuns; });
    platform::Job kept = runLoop().after(0.2, [&] { ++keptRuns; });
    EXPECT_TRUE(cancelled->isPending());
    cancelled->cancel();
    cancelled->cancel();
    EXPECT_TRUE(cancelled->isCancelled());
    EXPECT_FALSE(cancelled->isPending());
    // A job cancelled by an earlier job on the loop.
    int laterRuns = 0;
    platform::Job later = runLoop().after(0.3, [&] { ++laterRuns; });
    runLoop().after(0.1, [&] { later->cancel(); });

    contractAdvance(0.5);
    EXPECT_EQ(cancelledRuns, 0);
    EXPECT_EQ(laterRuns, 0);
    EXPECT_EQ(keptRuns, 1);
    EXPECT_FALSE(kept->isPending());

    int ticks = 0;
    platform::Timer timer = runLoop().every(0.1, [&] { ++ticks; });
    contractAdvance(0.35);
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(timer->isPending());
    timer->cancel();
    EXPECT_FALSE(timer->isPending());
    contractAdvance(0.5);
    EXPECT_EQ(ticks, 3);

    int selfTicks = 0;
    platform::Timer selfStopping;
    selfStopping = runLoop().every(0.1, [&] {
        if (++selfTicks == 2) selfStopping->cancel();
    });
    contractAdvance(1);
    EXPECT_EQ(selfTicks, 2);
    selfStopping.reset();
}

// Tests that postToMain from another thread runs the function on the main
// thread, and that posts from one thread keep their order.
TEST_F(PlatformContractRunLoop, PostToMainHopsToTheMainThread) {
    std::vector<int> order;
    std::atomic<bool> offMainSeenByWorker{true};
    bool allOnMain = true;
    std::thread worker([&] {
        offMainSeenByWorker = !runLoop().isMainThread();
        for (int i = 0; i < 5; ++i)
            runLoop().postToMain([&, i] {
                allOnMain = allOnMain && runLoop().isMainThread();
                order.push_back(i);
            });
    });
    worker.join();
    EXPECT_TRUE(offMainSeenByWorker) << "isMainThread() is false on another thread";
    ASSERT_TRUE(contractRunUntil([&] { return order.size() == 5; }, 10));
    EXPECT_TRUE(allOnMain);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));

    // The background worker hands its result back the same way.
    bool backOnMain = false;
    std::atomic<bool> backgroundOffMain{false};
    runLoop().background([&] {
        backgroundOffMain = !runLoop().isMainThread();
        runLoop().postToMain([&] { backOnMain = runLoop().isMainThread(); });
    });
    ASSERT_TRUE(contractRunUntil([&] { return backOnMain; }, 10));
    EXPECT_TRUE(backgroundOffMain);
}

}  // namespace
