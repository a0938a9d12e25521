#pragma once

// Process identifiers of the simulated Mac, handed out like the kernel does:
// increasing, wrapping before they overflow, never one in use and never this
// real process's own (which belongs to the host application).

#include <functional>

namespace desktop {

class PidAllocator {
public:
    static constexpr int first = 400;

    void reset() { next_ = first; }
    // inUse tells which identifiers are taken.
    int allocate(const std::function<bool(int)>& inUse);
    // Whether a scene may give an app this identifier itself.
    static bool isAcceptable(long long pid);

private:
    int next_ = first;
};

}  // namespace desktop
