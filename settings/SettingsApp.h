#pragma once

#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "settings/SearchFold.h"

namespace orvane {

// An application as the settings window lists it. Unlike the controller's
// record it needs its id and path given (either may be empty) and only
// fills in the name and the policy.
class SettingsApp {
public:
    static std::optional<SettingsApp> fromDictionary(const nlohmann::json& dictionary);

    const std::string& id() const { return id_; }
    const std::string& name() const { return name_; }
    const std::string& path() const { return path_; }
    const std::string& policy() const { return policy_; }
    // The name in searchFold form, folded once when the app is read so that
    // a keystroke in the search box does not fold every name again.
    const std::u16string& searchName() const { return searchName_; }
    // {"id", "name", "path", "policy"}
    nlohmann::json dictionary() const;

    friend bool operator==(const SettingsApp&, const SettingsApp&) = default;

private:
    SettingsApp(std::string id, std::string name, std::string path, std::string policy)
        : id_(std::move(id)), name_(std::move(name)), path_(std::move(path)), policy_(std::move(policy)),
          searchName_(searchFold(name_)) {}

    std::string id_;
    std::string name_;
    std::string path_;
    std::string policy_;
    std::u16string searchName_;
};

}  // namespace orvane
