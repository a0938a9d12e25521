#pragma once

// The accessibility API of the simulated Mac: the trust check and the
// menu-bar extras of other applications, from the accessibility mirror.

#include "platform/Accessibility.h"

namespace desktop {

// The one process-wide service behind platform::accessibility().
platform::Accessibility& simulatedAccessibility();

}  // namespace desktop
