#pragma once

// The host application as the simulated Mac describes the running process to
// itself: its pid, its bundle, its icon and its activation.

#include "platform/Application.h"

namespace desktop {

// The one process-wide answer behind platform::application().
platform::Application& hostApplication();

}  // namespace desktop
