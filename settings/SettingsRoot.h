#pragma once

#include <memory>

#include "platform/ui/Declarative.h"

namespace platform::ui { class Image; }

namespace orvane {

class SettingsModel;

// The whole content of the settings window, a pure function of the model: a
// split view with the sidebar (product, pages, shortcut) and the detail
// column (banner over the selected page), its title and toolbar. The
// product's icon is passed in, read once by the window rather than from
// disk on every keystroke.
platform::ui::declarative::Node SettingsRoot(const std::shared_ptr<SettingsModel>& model,
                                             std::shared_ptr<platform::ui::Image> productIcon);

}  // namespace orvane
