#pragma once

#include <memory>
#include <optional>

#include "platform/ui/Declarative.h"

namespace orvane {

class SettingsModel;

// The banner over the page: the failure as an error when there is one, else
// the message as information; nothing when both are empty. It never clears
// itself: its close button asks the host to send empty texts.
std::optional<platform::ui::declarative::Node> banner(const std::shared_ptr<SettingsModel>& model);

}  // namespace orvane
