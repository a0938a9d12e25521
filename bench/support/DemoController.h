#pragma once

// A controller started on the demo Mac on the manual clock, as the host
// starts it: screen recording granted, Finder, Safari and Notes pinned, so
// that entry 1 is Safari with its two windows; the other running
// applications follow them or are left out.

#include <memory>

namespace orvane {
class NativeController;
}

namespace orvane::bench {

// The entry of Safari.
inline constexpr long long safariEntry = 1;

enum class OtherRunningApps { hidden, shown };

std::shared_ptr<NativeController> startOnDemoMac(OtherRunningApps others = OtherRunningApps::hidden);
// Stops the controller and empties the slot the bridge reads.
void finish(const std::shared_ptr<NativeController>& controller);

}  // namespace orvane::bench
