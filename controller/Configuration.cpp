#include "controller/Configuration.h"

#include <algorithm>

#include "platform/Json.h"

namespace orvane {

namespace {

bool boolValue(const platform::Json& object, const char* key, bool fallback) {
    auto it = object.find(key);
    return it != object.end() && it->is_boolean() ? it->get<bool>() : fallback;
}

// One element that is not an object spoils the whole list: the host sent
// something other than a list of app records.
std::vector<AppEntry> pinnedValue(const platform::Json& object) {
    auto it = object.find("pinned");
    if (it == object.end() || !it->is_array()) return {};
    for (const auto& element : *it)
        if (!element.is_object()) return {};
    std::vector<AppEntry> pinned;
    pinned.reserve(it->size());
    for (const auto& element : *it)
        if (auto entry = AppEntry::fromDictionary(element)) pinned.push_back(std::move(*entry));
    return pinned;
}

// Integers of either signedness; anything else (a float, a boolean) is missing.
int maxIconsValue(const platform::Json& object) {
    auto it = object.find("maxIcons");
    if (it == object.end()) return Configuration::defaultMaxIcons;
    if (it->is_number_unsigned()) {
        auto value = it->get<std::uint64_t>();
        return value > std::uint64_t(Configuration::maxIconsLimit) ? Configuration::maxIconsLimit
                                                                   : std::max(int(value), Configuration::minIcons);
    }
    if (it->is_number_integer()) {
        auto value = it->get<std::int64_t>();
        return int(std::clamp<std::int64_t>(value, Configuration::minIcons, Configuration::maxIconsLimit));
    }
    return Configuration::defaultMaxIcons;
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
