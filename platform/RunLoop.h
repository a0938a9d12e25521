#pragma once

#include <functional>
#include <memory>

namespace platform {

// A scheduled job or repeating timer. cancel() is idempotent; a cancelled job
// never runs, a job that already ran stays finished.
class Cancellable {
public:
    virtual ~Cancellable() = default;
    virtual void cancel() = 0;
    virtual bool isCancelled() const = 0;
    // A job that neither ran nor was cancelled; a timer that was not invalidated.
    virtual bool isPending() const = 0;
};

using Job = std::shared_ptr<Cancellable>;
using Timer = std::shared_ptr<Cancellable>;

// The main run loop and the one background worker. Everything but
// postToMain() and isMainThread() must be called on the main thread.
class RunLoop {
public:
    virtual ~RunLoop() = default;

    virtual bool isMainThread() const = 0;
    // Runs fn on the main thread on a later turn of the loop.
    virtual void post(std::function<void()> fn) = 0;
    virtual Job after(double seconds, std::function<void()> fn) = 0;
    virtual Timer every(double seconds, std::function<void()> fn) = 0;
    // Thread-safe: hands fn to the main thread.
    virtual void postToMain(std::function<void()> fn) = 0;
    // Runs fn on the utility-priority background worker, one job at a time.
    virtual void background(std::function<void()> fn) = 0;
    // Seconds on the loop's clock (real or manual).
    virtual double now() const = 0;
};

RunLoop& runLoop();

}  // namespace platform
