#pragma once

// desktop/runloop/ stands in for the main thread's run loop, the main dispatch
// queue and the system's serial queues: where every job, timer and
// completion handler of the simulated Mac runs, on a real or a manual clock.
//
// The simulated Mac's main run loop, standing in for the main thread's run
// loop and main dispatch queue: jobs, delayed jobs and timers run in due order
// on the main thread, on a real clock or on a manual clock that tests advance.
// It also owns the one utility-priority background worker and the thread the
// platform calls completion handlers on.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "desktop/runloop/Clock.h"
#include "desktop/runloop/SerialQueue.h"
#include "platform/RunLoop.h"

namespace desktop {

class ScheduledJob;

class MainRunLoop final : public platform::RunLoop {
public:
    // Process-wide and never destroyed, so that worker threads never outlive it.
    static MainRunLoop& shared();

    bool isMainThread() const override;
    void post(std::function<void()> fn) override;
    platform::Job after(double seconds, std::function<void()> fn) override;
    platform::Timer every(double seconds, std::function<void()> fn) override;
    void postToMain(std::function<void()> fn) override;
    void background(std::function<void()> fn) override;
    double now() const override;

    // Drops every job of the earlier scene (also those its threads post later),
    // restarts the clock at 0 and claims the calling thread as the main thread
    // when none is known yet.
    void reset(Clock clock);
    Clock clock() const { return clock_.load(); }
    std::uint64_t generation() const { return generation_.load(); }
    // The scene generation work on the calling thread belongs to.
    std::uint64_t currentGeneration() const;

    void advance(double seconds);
    void advanceSettled(double seconds, double realTimeoutSeconds);
    void runFor(double seconds);
    bool runUntil(const std::function<bool()>& predicate, double realTimeoutSeconds);
    void pump();
    bool settle(double realTimeoutSeconds);

    // Hands fn to the completion thread, as the platform calls completion
    // handlers on a thread of its own.
    void complete(std::function<void()> fn);
    std::size_t pendingJobs() const;

    // Longest span one advance() covers, so that a huge value cannot hang.
    static constexpr double maximumAdvance = 86400;

private:
    friend class ScheduledJob;
    using Key = std::pair<double, std::uint64_t>;  // due time, then order of scheduling

    MainRunLoop();
    void schedule(const std::shared_ptr<ScheduledJob>& job, double due);
    void unschedule(ScheduledJob& job);
    bool hasDueJob() const;
    // Runs the earliest job due at or before limit; false when there is none.
    bool runOne(double limit);
    // Waits for a post from another thread or the next due job, at most until deadline.
    void waitForWork(std::chrono::steady_clock::time_point deadline);
    double realNow() const;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::map<Key, std::shared_ptr<ScheduledJob>> queue_;
    std::uint64_t nextSequence_ = 0;
    std::atomic<std::uint64_t> generation_{1};
    std::atomic<Clock> clock_{Clock::real};
    std::atomic<double> manualNow_{0};
    std::atomic<std::int64_t> epochNanoseconds_{0};
    std::atomic<std::thread::id> mainThread_{};
    SerialQueue worker_;
    SerialQueue completions_;
};

}  // namespace desktop
