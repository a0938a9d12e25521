#include "settings/SettingsApp.h"

#include "model/AppTexts.h"
#include "platform/JsonMember.h"

namespace orvane {
namespace {

constexpr const char* defaultPolicy = "auto";

}  // namespace

std::optional<SettingsApp> SettingsApp::fromDictionary(const nlohmann::json& dictionary) {
    if (!dictionary.is_object()) return std::nullopt;
    auto id = platform::stringMember(dictionary, "id");
    auto path = platform::stringMember(dictionary, "path");
    if (!id || !path) return std::nullopt;
    return SettingsApp(std::move(*id), platform::stringMember(dictionary, "name").value_or(texts::unnamedApplication), std::move(*path),
                       platform::stringMember(dictionary, "policy").value_or(defaultPolicy));
}

nlohmann::json SettingsApp::dictionary() const {
    return {{"id", id_}, {"name", name_}, {"path", path_}, {"policy", policy_}};
}

}  // namespace orvane
