#include "settings/SettingsApp.h"

#include "platform/Json.h"

namespace orvane {
namespace {

constexpr const char* defaultName = "应用";
constexpr const char* defaultPolicy = "auto";

std::optional<std::string> stringValue(const nlohmann::json& dictionary, const char* key) {
    const auto it = dictionary.find(key);
    if (it == dictionary.end() || !it->is_string()) return std::nullopt;
    return it->get<std::string>();
}

}  // namespace

std::optional<SettingsApp> SettingsApp::fromDictionary(const nlohmann::json& dictionary) {
    if (!dictionary.is_object()) return std::nullopt;
    auto id = stringValue(dictionary, "id");
    auto path = stringValue(dictionary, "path");
    if (!id || !path) return std::nullopt;
    return SettingsApp(std::move(*id), stringValue(dictionary, "name").value_or(defaultName), std::move(*path),
                       stringValue(dictionary, "policy").value_or(defaultPolicy));
}

nlohmann::json SettingsApp::dictionary() const {
    return {{"id", id_}, {"name", name_}, {"path", path_}, {"policy", policy_}};
}

}  // namespace orvane
