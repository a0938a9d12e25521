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

// The two parts of the page that follow the search text, named by these ids
// in the page, so that a keystroke can replace them alone: the text field,
// and what lies under the search box (the list, no results or the progress line).
namespace addAppsPart {
inline constexpr const char* searchField = "add.searchField";
inline constexpr const char* results = "add.results";
}  // namespace addAppsPart

platform::ui::declarative::Node addAppsSearchField(const std::shared_ptr<SettingsModel>& model);
platform::ui::declarative::Node addAppsResults(const std::shared_ptr<SettingsModel>& model);

}  // namespace orvane
