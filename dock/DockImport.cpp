#include "dock/DockImport.h"

#include <set>

#include "model/AppRecord.h"
#include "dock/DockLocation.h"
#include "dock/DockPreferences.h"
#include "dock/DockTexts.h"
#include "platform/Files.h"
#include "platform/Json.h"
#include "platform/JsonMember.h"
#include "platform/Preferences.h"
#include "platform/Workspace.h"

namespace dock {

namespace {

using platform::Json;
using platform::stringMember;

constexpr const char* persistentAppsKey = "persistent-apps";
constexpr const char* fileTileType = "file-tile";

// The dictionary under key, nothing when it is missing or not a dictionary.
const Json* dictionaryMember(const Json& object, const char* key) {
    const Json& value = platform::member(object, key);
    return value.is_object() ? &value : nullptr;
}

// The Dock's list; anything but an array of dictionaries counts as empty.
Json tilesOf(const std::optional<Json>& value) {
    if (!value || !value->is_array()) return Json::array();
    for (const auto& tile : *value) {
        if (!tile.is_object()) return Json::array();
    }
    return *value;
}

}  // namespace

Json dockImport() {
    auto domain = platform::preferences(dockDomainName);
    Json tiles = tilesOf(domain->copyValue(persistentAppsKey));
    bool readable = domain->copyValue(persistentAppsKey).has_value();

    auto& files = platform::files();
    Json apps = Json::array();
    Json skipped = Json::array();
    std::set<std::string> seen;
    for (const auto& tile : tiles) {
        const Json* tileData = dictionaryMember(tile, "tile-data");
        const Json* fileData = tileData ? dictionaryMember(*tileData, "file-data") : nullptr;
        auto location = fileData ? stringMember(*fileData, "_CFURLString") : std::nullopt;
        if (stringMember(tile, "tile-type") != fileTileType || !location) {
            skipped.push_back(text::notAnApplication);
            continue;
        }
        auto path = tileLocationPath(*location);
        std::string label = stringMember(*tileData, "file-label").value_or(text::unknownApplication);
        if (!path || catalogue::lowercasePathExtension(*path) != "app") {
            skipped.push_back(label);
            continue;
        }
        auto rememberedIdentifier = stringMember(*tileData, "bundle-identifier");
        if (!files.exists(*path) && rememberedIdentifier) {
            // An application that was moved is found again where it is now.
            auto moved = platform::workspace().urlForApplication(*rememberedIdentifier);
            if (moved && !moved->empty()) path = *moved;
        }
        if (!files.exists(*path)) {
            skipped.push_back(label + text::noLongerExistsSuffix);
            continue;
        }
        std::string id = files.bundleIdentifier(*path).value_or(rememberedIdentifier.value_or(*path));
        if (!seen.insert(id).second) continue;
        apps.push_back(catalogue::appRecord(id, label, *path, catalogue::policyAuto));
    }
    if (!seen.count(catalogue::finderBundleIdentifier)) {
        if (auto finder = catalogue::finderRecord()) apps.insert(apps.begin(), *finder);
    }
    return {{"apps", apps}, {"skipped", skipped}, {"sourceCount", tiles.size()}, {"readable", readable}};
}

}  // namespace dock
