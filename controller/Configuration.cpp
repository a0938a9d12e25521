#include "controller/Configuration.h"

#include <algorithm>

#include "platform/Json.h"
#include "platform/JsonMember.h"

namespace orvane {

namespace {

// One element that is not an object spoils the whole list: the host sent
// something other than a list of app records.
std::vector<AppEntry> pinnedValue(const platform::Json& object) {
    const auto& list = platform::member(object, "pinned");
    if (!list.is_array()) return {};
    for (const auto& element : list)
        if (!element.is_object()) return {};
    std::vector<AppEntry> pinned;
    pinned.reserve(list.size());
    for (const auto& element : list)
        if (auto entry = AppEntry::fromDictionary(element)) pinned.push_back(std::move(*entry));
    return pinned;
}

// Integers of either signedness, brought into range; anything else (a
// float, a boolean) is missing.
int maxIconsValue(const platform::Json& object) {
    const auto value = platform::integerMember(object, "maxIcons");
    if (!value) return Configuration::defaultMaxIcons;
    return int(std::clamp<std::int64_t>(*value, Configuration::minIcons, Configuration::maxIconsLimit));
}

bool boolValue(const platform::Json& object, const char* key, bool fallback) {
    return platform::boolMember(object, key).value_or(fallback);
}

}  // namespace

Configuration Configuration::read(const nlohmann::json& configuration) {
    static const platform::Json empty = platform::Json::object();
    const auto& object = configuration.is_object() ? configuration : empty;
    Configuration result;
    result.dockPersistent = boolValue(object, "dockPersistent", false);
    result.pinned = pinnedValue(object);
    result.maxIcons = maxIconsValue(object);
    result.showRunning = boolValue(object, "showRunning", true);
    result.autoDedup = boolValue(object, "autoDedup", true);
    result.centered = boolValue(object, "centered", false);
    return result;
}

}  // namespace orvane
