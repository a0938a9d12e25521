#pragma once

#include "platform/ui/Declarative.h"

namespace orvane {

class SettingsApp;

// The workspace's icon for the app's bundle, scaled into 32 x 32 points and
// hidden from accessibility (the row names the app).
platform::ui::declarative::Node appIcon(const SettingsApp& app);

}  // namespace orvane
