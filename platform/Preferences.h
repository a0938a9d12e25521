#pragma once

#include <memory>
#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace platform {

// One application domain of the user's preferences (CFPreferences app values).
class PreferenceDomain {
public:
    virtual ~PreferenceDomain() = default;
    // Writes pending changes and reloads; false when the store could not be saved.
    virtual bool synchronize() = 0;
    virtual std::optional<nlohmann::json> copyValue(const std::string& key) = 0;
    // Changes the pending cache; nothing removes the key.
    virtual void setValue(const std::string& key, const std::optional<nlohmann::json>& value) = 0;
};

std::shared_ptr<PreferenceDomain> preferences(const std::string& domain);

}  // namespace platform
