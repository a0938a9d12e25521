// Tests of the simulated Mac's main run loop: due order on the manual clock,
// cancelling, timers, the one-day cap, scene resets that disown late work,
// posts from other threads and the background worker.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "platform/RunLoop.h"
#include "tests/desktop/ScratchDisk.h"

namespace {

using platform::runLoop;

class RunLoopTest : public ::testing::Test {
protected:
    void SetUp() override { desktop::reset(orvane::test::onScratchDisk(nlohmann::json::object()), desktop::Clock::manual); }
};

// Tests that jobs run in due order (ties in scheduling order), see the clock
// at their due time, and that jobs scheduled within the span run in it too.
TEST_F(RunLoopTest, ManualClockRunsJobsInDueOrder) {
    std::vector<std::pair<std::string, double>> ran;
    auto note = [&](std::string name) { ran.emplace_back(std::move(name), runLoop().now()); };
    runLoop().after(0.3, [&] { note("c"); });
    runLoop().after(0.1, [&] {
        note("a");
        runLoop().after(0.15, [&] { note("a+0.15"); });
        runLoop().after(0.5, [&] { note("a+0.5"); });
    });
    runLoop().post([&] { note("post"); });
    runLoop().after(0.1, [&] { note("b"); });
    EXPECT_TRUE(ran.empty()) << "nothing runs before the loop turns";

    desktop::advance(0.5);
    std::vector<std::pair<std::string, double>> expected = {{"post", 0}, {"a", 0.1}, {"b", 0.1}, {"a+0.15", 0.25}, {"c", 0.3}};
    ASSERT_EQ(ran.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(ran[i].first, expected[i].first);
        EXPECT_NEAR(ran[i].second, expected[i].second, 1e-9) << ran[i].first;
    }
    EXPECT_NEAR(runLoop().now(), 0.5, 1e-9);

    desktop::advance(0.1);
    ASSERT_EQ(ran.size(), 6u);
    EXPECT_EQ(ran.back().first, "a+0.5");
    EXPECT_NEAR(ran.back().second, 0.6, 1e-9);
}

// Tests that a cancelled job never runs, that cancel is idempotent, and that
// a job that ran stays finished when cancelled afterwards.
TEST_F(RunLoopTest, CancelledJobsNeverRun) {
    int runs = 0;
    auto cancelled = runLoop().after(1, [&] { ++runs; });
    auto kept = runLoop().after(1, [&] { ++runs; });
    EXPECT_TRUE(cancelled->isPending());
    cancelled->cancel();
    cancelled->cancel();
    EXPECT_TRUE(cancelled->isCancelled());
    EXPECT_FALSE(cancelled->isPending());

    desktop::advance(2);
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(kept->isPending());
    kept->cancel();
    desktop::advance(2);
    EXPECT_EQ(runs, 1);

    // A job cancelling a later one from inside the loop.
    platform::Job later = runLoop().after(0.5, [&] { runs += 100; });
    runLoop().after(0.2, [&] { later->cancel(); });
    desktop::advance(1);
    EXPECT_EQ(runs, 1);
}

// Tests that a timer fires once per interval at its due times until it is
// invalidated (also from its own callback), and that infinite delays never fire.
TEST_F(RunLoopTest, TimersRepeatUntilInvalidated) {
    std::vector<double> fired;
    platform::Timer timer = runLoop().every(5.0, [&] { fired.push_back(runLoop().now()); });
    desktop::advance(16);
    EXPECT_EQ(fired, (std::vector<double>{5, 10, 15}));
    timer->cancel();
    desktop::advance(20);
    EXPECT_EQ(fired.size(), 3u);

    int selfStopping = 0;
    platform::Timer stopping;
    stopping = runLoop().every(1, [&] {
        if (++selfStopping == 2) stopping->cancel();
    });
    desktop::advance(10);
    EXPECT_EQ(selfStopping, 2);

    int never = 0;
    auto infiniteJob = runLoop().after(INFINITY, [&] { ++never; });
    auto infiniteTimer = runLoop().every(INFINITY, [&] { ++never; });
    auto nanJob = runLoop().after(NAN, [&] { never += 10; });
    desktop::advance(1000);
    EXPECT_EQ(never, 10) << "a NaN delay runs at once, infinite delays never";
    EXPECT_TRUE(infiniteJob->isPending());
    infiniteJob->cancel();
    infiniteTimer->cancel();
}

// Tests that one advance covers at most a day, so a huge value returns.
TEST_F(RunLoopTest, AdvanceIsCappedAtOneDay) {
    int runs = 0;
    runLoop().after(86400, [&] { ++runs; });
    runLoop().after(86401, [&] { ++runs; });
    desktop::advance(1e300);
    EXPECT_EQ(runs, 1);
    EXPECT_DOUBLE_EQ(runLoop().now(), 86400);
    desktop::advance(-5);
    desktop::advance(NAN);
    EXPECT_DOUBLE_EQ(runLoop().now(), 86400);
}

// Tests that reset drops the earlier scene's jobs and timers, and what its
// background work posts after the reset.
TEST_F(RunLoopTest, ThreadedResetDisownsEarlierScene) {
    int stale = 0;
    auto job = runLoop().after(1, [&] { ++stale; });
    auto timer = runLoop().every(1, [&] { ++stale; });
    std::atomic<bool> release{false};
    std::atomic<bool> workerStarted{false};
    std::atomic<bool> workerDone{false};
    runLoop().background([&] {
        workerStarted = true;
        while (!release.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        runLoop().postToMain([&] { ++stale; });
        workerDone = true;
    });

    ASSERT_TRUE(desktop::runUntil([&] { return workerStarted.load(); }, 5));
    desktop::reset(orvane::test::onScratchDisk(nlohmann::json::object()), desktop::Clock::manual);
    EXPECT_FALSE(job->isPending());
    EXPECT_FALSE(timer->isPending());
    release = true;
    ASSERT_TRUE(desktop::runUntil([&] { return workerDone.load(); }, 5));
    desktop::runFor(0.05);
    desktop::advance(5);
    EXPECT_EQ(stale, 0);

    int fresh = 0;
    runLoop().post([&] { ++fresh; });
    desktop::pump();
    EXPECT_EQ(fresh, 1) << "the new scene's jobs run";
}

// Tests that posts from many threads all arrive on the main thread.
TEST_F(RunLoopTest, ThreadedPostToMainFromManyThreads) {
    EXPECT_TRUE(runLoop().isMainThread());
    int arrived = 0;  // touched on the main thread only
    bool allOnMain = true;
    std::vector<std::thread> threads;
    std::atomic<int> offMain{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            if (!runLoop().isMainThread()) ++offMain;
            for (int i = 0; i < 100; ++i)
                runLoop().postToMain([&] {
                    allOnMain = allOnMain && runLoop().isMainThread();
                    ++arrived;
                });
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_TRUE(desktop::runUntil([&] { return arrived == 400; }, 10));
    EXPECT_TRUE(allOnMain);
    EXPECT_EQ(offMain.load(), 4);
}

// Tests that the background worker runs jobs off the main thread, one at a
// time and in order, and hands results back with postToMain.
TEST_F(RunLoopTest, ThreadedBackgroundWorkerIsSerial) {
    std::atomic<int> inFlight{0};
    std::atomic<bool> overlapped{false};
    std::vector<int> order;  // main thread only
    bool offMain = true;
    for (int i = 0; i < 20; ++i) {
        runLoop().background([&, i] {
            if (inFlight.fetch_add(1) != 0) overlapped = true;
            bool onMain = runLoop().isMainThread();
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            inFlight.fetch_sub(1);
            runLoop().postToMain([&, i, onMain] {
                offMain = offMain && !onMain;
                order.push_back(i);
            });
        });
    }
    ASSERT_TRUE(desktop::runUntil([&] { return order.size() == 20; }, 10));
    EXPECT_FALSE(overlapped.load());
    EXPECT_TRUE(offMain);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(order[i], i);
}

// Tests that settle returns only once what the worker and the completion
// thread were doing has arrived on the main thread, chains included (a result
// that starts more work), without moving the manual clock.
TEST_F(RunLoopTest, ThreadedSettleWaitsForEveryHandBack) {
    std::vector<std::string> arrived;  // main thread only
    runLoop().background([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        runLoop().postToMain([&] {
            arrived.push_back("worker");
            runLoop().background([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                runLoop().postToMain([&] { arrived.push_back("second"); });
            });
        });
    });
    runLoop().after(0.5, [&] { arrived.push_back("later"); });
    ASSERT_TRUE(desktop::settle(10));
    EXPECT_EQ(arrived, (std::vector<std::string>{"worker", "second"})) << "a job due later waits for the clock";
    EXPECT_EQ(runLoop().now(), 0);
}

// Tests that advanceSettled hands each job's background work back before the
// next job runs, so results land at the same clock time on every run.
TEST_F(RunLoopTest, ThreadedAdvanceSettledOrdersHandBacks) {
    std::vector<std::pair<std::string, double>> seen;
    auto note = [&](std::string name) { seen.emplace_back(std::move(name), runLoop().now()); };
    runLoop().after(1, [&] {
        note("tick");
        runLoop().background([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            runLoop().postToMain([&] { note("result"); });
        });
    });
    runLoop().after(1.5, [&] { note("next"); });
    desktop::advanceSettled(2);
    std::vector<std::pair<std::string, double>> expected = {{"tick", 1}, {"result", 1}, {"next", 1.5}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(runLoop().now(), 2);
}

// Tests that on the real clock delayed jobs wait for real time.
TEST_F(RunLoopTest, RealClockWaitsForRealTime) {
    desktop::reset(orvane::test::onScratchDisk(nlohmann::json::object()), desktop::Clock::real);
    bool ran = false;
    double ranAt = 0;
    runLoop().after(0.05, [&] {
        ran = true;
        ranAt = runLoop().now();
    });
    desktop::pump();
    EXPECT_FALSE(ran);
    EXPECT_TRUE(desktop::runUntil([&] { return ran; }, 5));
    EXPECT_GE(ranAt, 0.05);

    int ticks = 0;
    auto timer = runLoop().every(0.01, [&] { ++ticks; });
    desktop::runFor(0.1);
    timer->cancel();
    EXPECT_GE(ticks, 1);
}

}  // namespace
