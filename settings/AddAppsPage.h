#pragma once

#include <memory>

#include "platform/ui/Declarative.h"

namespace orvane {

class SettingsModel;

// The page "add": the search box over the installed apps whose names contain
// the query, each with a button that pins it ("已固定" and disabled when it
// already is); a progress line while the catalogue is read, and the standard
// no-results view when nothing matches.
platform::ui::declarative::Node addApps(const std::shared_ptr<SettingsModel>& model);

}  // namespace orvane
