// The simulated Mac's main run loop, standing in for the main thread's run
// loop and main dispatch queue. Jobs run in due order, ties in the order they
// were scheduled; on the manual clock time moves only when a test advances it.

#include "desktop/runloop/MainRunLoop.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <limits>
#include <optional>

#include <sys/syscall.h>
#include <unistd.h>

namespace desktop {

// A delayed job or a repeating timer: the handle the logic holds to cancel it.
class ScheduledJob final : public platform::Cancellable {
public:
    ScheduledJob(MainRunLoop& loop, std::uint64_t generation, double interval, std::function<void()> fn)
        : loop_(loop), generation_(generation), interval_(interval), fn_(std::move(fn)) {}

    void cancel() override {
        if (cancelled_.exchange(true)) return;
        loop_.unschedule(*this);
    }
    bool isCancelled() const override { return cancelled_.load(); }
    bool isPending() const override {
        return !cancelled_.load() && !finished_.load() && generation_ == loop_.generation();
    }

    bool repeats() const { return interval_ > 0; }
    double interval() const { return interval_; }
    std::uint64_t generation() const { return generation_; }

    // Main thread only. A one-shot job gives its function up so that what it
    // captured is released once it has run.
    void fire() {
        if (repeats()) {
            fn_();
            return;
        }
        finished_ = true;
        auto fn = std::move(fn_);
        fn_ = nullptr;
        fn();
    }

    // Where the job sits in the loop's queue; guarded by the loop's mutex.
    std::optional<MainRunLoop::Key> key;

private:
    MainRunLoop& loop_;
    const std::uint64_t generation_;
    const double interval_;  // 0 for a one-shot job
    std::function<void()> fn_;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> finished_{false};
};

namespace {
constexpr double minimumTimerInterval = 0.0001;  // the platform's floor for non-positive intervals
constexpr int pumpLimit = 100000;                // guards pump() against a job that reposts itself forever

double sanitizedDelay(double seconds) { return std::isnan(seconds) || seconds < 0 ? 0 : seconds; }

void runGuarded(ScheduledJob& job) {
    try {
        job.fire();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvane desktop: a main-thread job threw: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "orvane desktop: a main-thread job threw\n");
    }
}
}  // namespace

MainRunLoop& MainRunLoop::shared() {
    static MainRunLoop* loop = new MainRunLoop();
    return *loop;
}

MainRunLoop::MainRunLoop()
    : worker_("orvane-utility", SerialQueue::Priority::utility,
              [this](std::uint64_t g) { return g == generation(); }),
      completions_("orvane-complete", SerialQueue::Priority::normal,
                   [this](std::uint64_t g) { return g == generation(); }) {
    epochNanoseconds_ = std::chrono::steady_clock::now().time_since_epoch().count();
    if (syscall(SYS_gettid) == getpid()) mainThread_ = std::this_thread::get_id();
}

namespace {
// Loading the library on the process's main thread makes that thread the
// main thread before anyone asks.
const bool mainThreadClaimed = [] {
    if (syscall(SYS_gettid) == getpid()) MainRunLoop::shared();
    return true;
}();
}  // namespace

bool MainRunLoop::isMainThread() const { return std::this_thread::get_id() == mainThread_.load(); }

double MainRunLoop::realNow() const {
    auto elapsed = std::chrono::steady_clock::now().time_since_epoch().count() - epochNanoseconds_.load();
    return static_cast<double>(elapsed) / 1e9;
}

double MainRunLoop::now() const { return clock_.load() == Clock::manual ? manualNow_.load() : realNow(); }

std::uint64_t MainRunLoop::currentGeneration() const {
    std::uint64_t task = SerialQueue::taskGeneration();
    return task != 0 ? task : generation();
}

void MainRunLoop::reset(Clock clock) {
    std::map<Key, std::shared_ptr<ScheduledJob>> dropped;
    {
        std::lock_guard lock(mutex_);
        std::thread::id none{};
        mainThread_.compare_exchange_strong(none, std::this_thread::get_id());
        ++generation_;
        dropped.swap(queue_);
        for (auto& [key, job] : dropped) job->key.reset();
        clock_ = clock;
        manualNow_ = 0;
        epochNanoseconds_ = std::chrono::steady_clock::now().time_since_epoch().count();
    }
    // What the dropped jobs captured is destroyed here, outside the lock: a
    // destructor may schedule or cancel other jobs.
}

void MainRunLoop::schedule(const std::shared_ptr<ScheduledJob>& job, double due) {
    if (!std::isfinite(due)) return;  // an infinite delay never falls due
    {
        std::lock_guard lock(mutex_);
        if (job->generation() != generation_.load() || job->isCancelled()) return;
        Key key{due, nextSequence_++};
        job->key = key;
        queue_.emplace(key, job);
    }
    wake_.notify_all();
}

void MainRunLoop::unschedule(ScheduledJob& job) {
    std::shared_ptr<ScheduledJob> removed;
    std::lock_guard lock(mutex_);
    if (!job.key) return;
    auto found = queue_.find(*job.key);
    if (found != queue_.end() && found->second.get() == &job) {
        removed = std::move(found->second);
        queue_.erase(found);
    }
    job.key.reset();
    // removed is only the queue's reference; the caller still holds the job.
}

void MainRunLoop::post(std::function<void()> fn) { after(0, std::move(fn)); }

platform::Job MainRunLoop::after(double seconds, std::function<void()> fn) {
    auto job = std::make_shared<ScheduledJob>(*this, currentGeneration(), 0, std::move(fn));
    schedule(job, now() + sanitizedDelay(seconds));
    return job;
}

platform::Timer MainRunLoop::every(double seconds, std::function<void()> fn) {
    double interval = std::isnan(seconds) || seconds <= 0 ? minimumTimerInterval : seconds;
    auto timer = std::make_shared<ScheduledJob>(*this, currentGeneration(), interval, std::move(fn));
    schedule(timer, now() + interval);
    return timer;
}

void MainRunLoop::postToMain(std::function<void()> fn) {
    // Work of an earlier scene carries its generation and is dropped unrun.
    auto job = std::make_shared<ScheduledJob>(*this, currentGeneration(), 0, std::move(fn));
    schedule(job, now());
}

void MainRunLoop::background(std::function<void()> fn) { worker_.async(currentGeneration(), std::move(fn)); }

void MainRunLoop::complete(std::function<void()> fn) { completions_.async(currentGeneration(), std::move(fn)); }

std::size_t MainRunLoop::pendingJobs() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

bool MainRunLoop::runOne(double limit) {
    std::shared_ptr<ScheduledJob> job;
    double due = 0;
    {
        std::lock_guard lock(mutex_);
        if (queue_.empty() || queue_.begin()->first.first > limit) return false;
        due = queue_.begin()->first.first;
        job = std::move(queue_.begin()->second);
        queue_.erase(queue_.begin());
        job->key.reset();
        if (clock_.load() == Clock::manual) manualNow_ = std::max(manualNow_.load(), due);
    }
    runGuarded(*job);
    if (job->repeats() && job->isPending()) {
        double next = due + job->interval();
        double current = now();
        // A late timer skips the firings it missed instead of catching up, as the platform's does.
        if (next < current) next = due + job->interval() * std::ceil((current - due) / job->interval());
        schedule(job, next);
    }
    return true;
}

void MainRunLoop::advance(double seconds) {
    double span = std::min(sanitizedDelay(seconds), maximumAdvance);
    if (clock_.load() == Clock::real) {
        runFor(span);
        return;
    }
    double target = manualNow_.load() + span;
    while (runOne(target)) {
    }
    manualNow_ = std::max(manualNow_.load(), target);
}

void MainRunLoop::advanceSettled(double seconds, double realTimeoutSeconds) {
    double span = std::min(sanitizedDelay(seconds), maximumAdvance);
    if (clock_.load() == Clock::real) {
        runFor(span);
        return;
    }
    settle(realTimeoutSeconds);
    double target = manualNow_.load() + span;
    while (runOne(target)) settle(realTimeoutSeconds);
    manualNow_ = std::max(manualNow_.load(), target);
}

void MainRunLoop::pump() {
    for (int ran = 0; ran < pumpLimit && runOne(now()); ++ran) {
    }
}

void MainRunLoop::waitForWork(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(mutex_);
    auto until = deadline;
    if (!queue_.empty() && clock_.load() == Clock::real) {
        double due = queue_.begin()->first.first;
        auto epoch = std::chrono::steady_clock::time_point(std::chrono::steady_clock::duration(epochNanoseconds_.load()));
        auto dueAt = epoch + std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(due));
        until = std::min(until, dueAt);
    }
    std::uint64_t seen = nextSequence_;
    wake_.wait_until(lock, until, [&] {
        return nextSequence_ != seen || (!queue_.empty() && queue_.begin()->first.first <= now());
    });
}

void MainRunLoop::runFor(double seconds) {
    auto deadline = std::chrono::steady_clock::now() +
                    std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                        std::chrono::duration<double>(std::min(sanitizedDelay(seconds), maximumAdvance)));
    for (;;) {
        pump();
        if (std::chrono::steady_clock::now() >= deadline) return;
        waitForWork(deadline);
    }
}

bool MainRunLoop::runUntil(const std::function<bool()>& predicate, double realTimeoutSeconds) {
    // The predicate may turn true through another thread without a post, so
    // the loop looks again at least this often.
    constexpr auto predicatePoll = std::chrono::milliseconds(2);
    auto deadline = std::chrono::steady_clock::now() +
                    std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                        std::chrono::duration<double>(std::min(sanitizedDelay(realTimeoutSeconds), maximumAdvance)));
    for (;;) {
        pump();
        if (!predicate) return false;
        if (predicate()) return true;
        auto current = std::chrono::steady_clock::now();
        if (current >= deadline) return predicate();
        waitForWork(std::min(deadline, current + predicatePoll));
    }
}

bool MainRunLoop::hasDueJob() const {
    std::lock_guard lock(mutex_);
    return !queue_.empty() && queue_.begin()->first.first <= now();
}

// A task on a thread hands its result to the main loop before it counts as
// finished, so once both threads are idle and nothing is due, everything they
// were doing has arrived.
bool MainRunLoop::settle(double realTimeoutSeconds) {
    auto deadline = std::chrono::steady_clock::now() +
                    std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                        std::chrono::duration<double>(std::min(sanitizedDelay(realTimeoutSeconds), maximumAdvance)));
    for (;;) {
        if (worker_.idle() && completions_.idle()) {
            pump();
            if (worker_.idle() && completions_.idle() && !hasDueJob()) return true;
        } else {
            worker_.waitIdle(deadline);
            completions_.waitIdle(deadline);
        }
        if (std::chrono::steady_clock::now() >= deadline) return false;
    }
}

}  // namespace desktop
