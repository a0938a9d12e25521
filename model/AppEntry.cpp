#include "model/AppEntry.h"

#include "model/AppTexts.h"
#include "model/JsonTreeOutput.h"
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

void AppEntry::write(JsonOutput& out) const {
    out.beginObject();
    out.key("id").string(id);
    out.key("name").string(name);
    out.key("path").string(path);
    out.key("policy").string(policy);
    out.endObject();
}

nlohmann::json AppEntry::dictionary() const {
    JsonTreeOutput tree;
    write(tree);
    return std::move(tree).take();
}

}  // namespace orvane
