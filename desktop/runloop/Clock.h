#pragma once

// Which clock the simulated Mac's main run loop keeps: the machine's real
// time, or a manual clock that only moves when tests or the host advance it.

namespace desktop {

enum class Clock { real, manual };

}  // namespace desktop
