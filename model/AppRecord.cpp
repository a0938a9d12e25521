#include "model/AppRecord.h"

#include <algorithm>
#include <cctype>

#include "platform/Json.h"
#include "platform/Workspace.h"

namespace catalogue {

nlohmann::json appRecord(const std::string& id, const std::string& name, const std::string& path, const std::string& policy) {
    return {{"id", id}, {"name", name}, {"path", path}, {"policy", policy}};
}

std::optional<nlohmann::json> finderRecord() {
    auto path = platform::workspace().urlForApplication(finderBundleIdentifier);
    if (!path || path->empty()) return std::nullopt;
    return appRecord(finderBundleIdentifier, finderName, *path, policyAlways);
}

std::string lowercasePathExtension(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    std::string name = trimmed.substr(trimmed.find_last_of('/') + 1);
    auto dot = name.find_last_of('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == name.size()) return {};
    std::string extension = name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return std::tolower(c); });
    return extension;
}

}  // namespace catalogue
