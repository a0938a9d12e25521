// Stands in for CFPreferences app values: reads go to a cache loaded from the
// domain's file, writes go to a pending cache, and synchronize merges the
// pending changes into the file on disk (keeping every other key and its
// type), writes it as a binary list in one atomic step, and reloads. Values
// that a managed profile forces win over the file, as they do on the platform.
#include "desktop/preferences/Preferences.h"

#include <map>
#include <memory>
#include <mutex>

#include <nlohmann/json.hpp>

#include "desktop/files/Disk.h"
#include "desktop/files/DiskLog.h"
#include "desktop/files/FileIO.h"
#include "desktop/propertylist/PropertyList.h"
#include "platform/Preferences.h"

namespace desktop {

namespace {

using Json = nlohmann::json;

constexpr std::size_t maxPreferencesFileSize = 16 * 1024 * 1024;

bool validDomain(const std::string& domain) {
    return !domain.empty() && domain != "." && domain != ".." && domain.find('/') == std::string::npos &&
           domain.find('\0') == std::string::npos;
}

// Forced values per domain; read and replaced under domainsMutex.
std::mutex domainsMutex;
std::map<std::string, Json> managedValues;

std::optional<Json> managedValue(const std::string& domain, const std::string& key) {
    std::lock_guard lock(domainsMutex);
    auto values = managedValues.find(domain);
    if (values == managedValues.end()) return std::nullopt;
    auto value = values->second.find(key);
    if (value == values->second.end() || value->is_null()) return std::nullopt;
    return *value;
}

class FilePreferenceDomain final : public platform::PreferenceDomain {
public:
    explicit FilePreferenceDomain(std::string domain) : domain_(std::move(domain)) {}

    bool synchronize() override {
        if (!validDomain(domain_)) {
            pending_.clear();
            return false;
        }
        bool saved = pending_.empty() || save();
        // A failed save drops the pending changes, so the cache shows what the disk holds.
        pending_.clear();
        reload();
        return saved;
    }

    std::optional<Json> copyValue(const std::string& key) override {
        if (auto forced = managedValue(domain_, key)) return forced;
        if (auto change = pending_.find(key); change != pending_.end()) return change->second;
        if (!loaded_) reload();
        if (!values_) return std::nullopt;
        return values_->value(key);
    }

    void setValue(const std::string& key, const std::optional<Json>& value) override {
        if (value && value->is_null()) {
            pending_[key] = std::nullopt;
        } else {
            pending_[key] = value;
        }
    }

    void discard() {
        pending_.clear();
        values_.reset();
        loaded_ = false;
    }

private:
    bool save() {
        std::string path = resolve(preferencesFile(domain_));
        FileRead current = readFile(path, maxPreferencesFileSize);
        if (current.status == FileRead::Status::failed) return false;
        std::optional<std::string> existing;
        if (current.status == FileRead::Status::ok) existing = std::move(current.bytes);
        // An existing file that does not parse as a dictionary is the user's
        // data in a form we cannot merge into: it is left alone.
        auto merged = mergeIntoPropertyList(existing, pending_);
        if (!merged || !writeFileAtomically(path, *merged)) return false;
        logPreferenceWrite(domain_);
        return true;
    }

    void reload() {
        values_.reset();
        loaded_ = true;
        if (!validDomain(domain_)) return;
        FileRead current = readFile(resolve(preferencesFile(domain_)), maxPreferencesFileSize);
        if (current.status != FileRead::Status::ok) return;
        values_ = PropertyListDictionary::parse(current.bytes);
    }

    std::string domain_;
    std::map<std::string, std::optional<Json>> pending_;
    // Converted a member at a time: a large file costs little more than its parse.
    std::optional<PropertyListDictionary> values_;
    bool loaded_ = false;
};

std::map<std::string, std::shared_ptr<FilePreferenceDomain>>& domains() {
    static std::map<std::string, std::shared_ptr<FilePreferenceDomain>> all;
    return all;
}

}  // namespace

std::string preferencesFile(const std::string& domain) {
    return std::string(homeFolder) + "/Library/Preferences/" + domain + ".plist";
}

void resetPreferenceDomains(const nlohmann::json& scene) {
    std::lock_guard lock(domainsMutex);
    for (auto& [name, domain] : domains()) domain->discard();
    managedValues.clear();
    auto managed = scene.is_object() ? scene.find("managedPreferences") : scene.end();
    if (managed == scene.end() || !managed->is_object()) return;
    for (auto& [domain, values] : managed->items())
        if (values.is_object()) managedValues[domain] = values;
}

}  // namespace desktop

namespace platform {

// One object per domain for the life of the process, as the platform keeps
// one cache per application identifier.
std::shared_ptr<PreferenceDomain> preferences(const std::string& domain) {
    std::lock_guard lock(desktop::domainsMutex);
    auto& slot = desktop::domains()[domain];
    if (!slot) slot = std::make_shared<desktop::FilePreferenceDomain>(domain);
    return slot;
}

}  // namespace platform
