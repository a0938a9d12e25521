#pragma once

// A serial dispatch queue of the simulated Mac: one real thread that runs its
// tasks one at a time, in order. The main run loop owns two of them, the
// utility-priority background worker and the platform's completion thread.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace desktop {

class SerialQueue {
public:
    enum class Priority { utility, normal };

    // isCurrent says whether work stamped with a scene generation still counts.
    SerialQueue(std::string name, Priority priority, std::function<bool(std::uint64_t)> isCurrent);
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    // Runs fn on the queue's thread unless its generation has passed by then.
    void async(std::uint64_t generation, std::function<void()> fn);

    // The generation of the task running on the calling thread, 0 on other threads.
    static std::uint64_t taskGeneration();

    // Whether no task is queued or running.
    bool idle();
    // Waits until the queue is idle or the deadline passes; returns idle().
    bool waitIdle(std::chrono::steady_clock::time_point deadline);

private:
    struct Task {
        std::uint64_t generation;
        std::function<void()> fn;
    };
    void run();

    std::string name_;
    Priority priority_;
    std::function<bool(std::uint64_t)> isCurrent_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::condition_variable drained_;
    std::deque<Task> tasks_;
    bool running_ = false;
    bool started_ = false;
};

}  // namespace desktop
