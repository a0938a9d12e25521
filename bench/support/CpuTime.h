#pragma once

// Processor time for the benchmarks: the machine is shared, and wall time
// would count other processes into either side of a ratio.

#include <ctime>

namespace orvane::bench {

inline double cpuSeconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// This thread's processor time.
inline double threadSeconds() { return cpuSeconds(CLOCK_THREAD_CPUTIME_ID); }

// The whole process's: the simulated Mac's worker and completion threads included.
inline double processSeconds() { return cpuSeconds(CLOCK_PROCESS_CPUTIME_ID); }

}  // namespace orvane::bench
