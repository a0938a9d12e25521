#include "model/AppEntry.h"

#include "model/AppTexts.h"
#include "platform/JsonMember.h"
#include "platform/Workspace.h"

namespace orvane {

namespace {

// The last path component without its extension, as a file path is read:
// trailing slashes are ignored and a leading dot does not start an extension.
std::string nameFromPath(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    auto slash = trimmed.find_last_of('/');
    std::string last = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
    auto dot = last.find_last_of('.');
    if (dot != std::string::npos && dot > 0) last.erase(dot);
    return last;
}

}  // namespace

std::optional<AppEntry> AppEntry::fromDictionary(const nlohmann::json& dictionary) {
    if (!dictionary.is_object()) return std::nullopt;
    auto path = platform::stringMember(dictionary, "path");
    if (!path || path->empty()) return std::nullopt;
    AppEntry entry;
    entry.path = *path;
    entry.id = platform::stringMember(dictionary, "id").value_or(*path);
    entry.name = platform::stringMember(dictionary, "name").value_or(nameFromPath(*path));
    entry.policy = platform::stringMember(dictionary, "policy").value_or(policy::automatic);
    return entry;
}

AppEntry AppEntry::fromRunningApplication(const platform::RunningApplication& app) {
    AppEntry entry;
    entry.path = app.bundlePath().value_or("");
    entry.id = app.bundleIdentifier().value_or(entry.path);
    entry.name = app.localizedName().value_or(texts::unnamedApplication);
    entry.policy = policy::automatic;
    return entry;
}

// Built member by member: an initializer list would copy every string twice
// on its way into the object, which a snapshot of many entries pays for.
nlohmann::json AppEntry::dictionary() const& { return AppEntry(*this).dictionary(); }

nlohmann::json AppEntry::dictionary() && {
    nlohmann::json dictionary(nlohmann::json::value_t::object);
    auto& members = dictionary.get_ref<nlohmann::json::object_t&>();
    members.emplace("id", std::move(id));
    members.emplace("name", std::move(name));
    members.emplace("path", std::move(path));
    members.emplace("policy", std::move(policy));
    return dictionary;
}

}  // namespace orvane
