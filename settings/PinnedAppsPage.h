#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/ui/Declarative.h"

namespace orvane {

class SettingsModel;

// The page "apps": the pinned apps in the host's order with their counters,
// each with its open button, policy picker and move and unpin buttons; an
// empty state that offers the Dock import when nothing is pinned.
platform::ui::declarative::Node pinnedApps(const std::shared_ptr<SettingsModel>& model);

// A button whose label is only a symbol, 18 x 24 points, named by its tool
// tip and accessibility label.
platform::ui::declarative::Node iconButton(const std::string& symbol, const std::string& label, bool disabled,
                                           std::function<void()> action);

}  // namespace orvane
