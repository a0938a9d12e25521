#pragma once

// desktop/preferences/ stands in for the preferences system and property-list
// serialization: one file per domain, read and written as the platform does,
// with untrusted bytes checked before they are parsed.
//
// The simulated Mac's preference store: one property-list file per domain in
// the user's Library/Preferences folder on the simulated disk.

#include <string>

#include <nlohmann/json_fwd.hpp>

namespace desktop {

// Where the domain's file lives on the simulated Mac, e.g.
// "/Users/demo/Library/Preferences/com.apple.dock.plist".
std::string preferencesFile(const std::string& domain);
// The disk was replaced: every domain forgets its cached and pending values
// and takes the scene's managed (forced) values.
void resetPreferenceDomains(const nlohmann::json& scene);

}  // namespace desktop
