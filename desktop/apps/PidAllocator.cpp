// Process identifiers of the simulated Mac, handed out like the kernel does.

#include "desktop/apps/PidAllocator.h"

#include <unistd.h>

#include <climits>

namespace desktop {

bool PidAllocator::isAcceptable(long long pid) { return pid > 0 && pid <= INT_MAX && pid != getpid(); }

int PidAllocator::allocate(const std::function<bool(int)>& inUse) {
    for (;;) {
        int candidate = next_;
        next_ = next_ >= INT_MAX - 1 ? first : next_ + 1;
        if (candidate != getpid() && !inUse(candidate)) return candidate;
    }
}

}  // namespace desktop
