// A serial dispatch queue of the simulated Mac: one real thread per queue,
// tasks in order, utility priority lowering the thread's nice value as the
// platform's quality-of-service classes lower a thread's priority.

#include "desktop/runloop/SerialQueue.h"

#include <pthread.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <exception>

namespace desktop {
namespace {
thread_local std::uint64_t runningGeneration = 0;
constexpr int utilityNice = 10;
}  // namespace

SerialQueue::SerialQueue(std::string name, Priority priority, std::function<bool(std::uint64_t)> isCurrent)
    : name_(std::move(name)), priority_(priority), isCurrent_(std::move(isCurrent)) {}

std::uint64_t SerialQueue::taskGeneration() { return runningGeneration; }

void SerialQueue::async(std::uint64_t generation, std::function<void()> fn) {
    if (!fn) return;
    std::lock_guard lock(mutex_);
    tasks_.push_back({generation, std::move(fn)});
    if (!started_) {
        started_ = true;
        // The thread lives as long as the process; the queue is never destroyed.
        std::thread([this] { run(); }).detach();
    }
    ready_.notify_one();
}

void SerialQueue::run() {
    pthread_setname_np(pthread_self(), name_.substr(0, 15).c_str());
    if (priority_ == Priority::utility) setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), utilityNice);
    for (;;) {
        Task task;
        {
            std::unique_lock lock(mutex_);
            ready_.wait(lock, [this] { return !tasks_.empty(); });
            task = std::move(tasks_.front());
            tasks_.pop_front();
            running_ = true;
        }
        if (isCurrent_(task.generation)) {
            runningGeneration = task.generation;
            try {
                task.fn();
            } catch (const std::exception& e) {
                std::fprintf(stderr, "orvane desktop: a task on %s threw: %s\n", name_.c_str(), e.what());
            } catch (...) {
                std::fprintf(stderr, "orvane desktop: a task on %s threw\n", name_.c_str());
            }
            runningGeneration = 0;
        }
        task.fn = nullptr;  // release captures before waiting again
        {
            std::lock_guard lock(mutex_);
            running_ = false;
        }
        drained_.notify_all();
    }
}

bool SerialQueue::idle() {
    std::lock_guard lock(mutex_);
    return tasks_.empty() && !running_;
}

bool SerialQueue::waitIdle(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(mutex_);
    return drained_.wait_until(lock, deadline, [this] { return tasks_.empty() && !running_; });
}

}  // namespace desktop
