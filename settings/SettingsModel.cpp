#include "settings/SettingsModel.h"

#include "model/EventRecords.h"
#include "platform/Json.h"
#include "platform/JsonMember.h"
#include "settings/SettingsTexts.h"

namespace orvane {

namespace {

using platform::Json;
using platform::member;
namespace key = settingsTexts::key;
namespace tab = settingsTexts::tab;
namespace policy = settingsTexts::policy;

constexpr long long defaultMaxIcons = 5;

// An array whose elements are all dictionaries: anything else is not a list
// of app records, and the whole value counts as missing.
bool isArrayOfDictionaries(const Json& value) {
    if (!value.is_array()) return false;
    for (const auto& element : value)
        if (!element.is_object()) return false;
    return true;
}

SettingsModel::Apps convertApps(const Json& dictionaries) {
    SettingsModel::Apps apps;
    apps.reserve(dictionaries.size());
    for (const auto& dictionary : dictionaries)
        if (auto app = SettingsApp::fromDictionary(dictionary)) apps.push_back(std::move(*app));
    return apps;
}

Json dictionaryOrEmpty(const Json& value) { return value.is_object() ? value : Json::object(); }

std::string stringOrEmpty(const Json& object, const char* key) {
    return platform::stringMember(object, key).value_or(std::string());
}

bool boolOrFalse(const Json& object, const char* key) { return platform::boolMember(object, key).value_or(false); }

template <typename T>
bool assign(T& field, T value) {
    if (field == value) return false;
    field = std::move(value);
    return true;
}

}  // namespace

SettingsModel::SettingsModel()
    : tab_(tab::apps),
      preferences_(std::make_unique<Json>(Json::object())),
      state_(std::make_unique<Json>(Json::object())),
      installed_(std::make_shared<const Apps>()),
      pinnedIds_(std::make_shared<const std::set<std::string>>()) {}

SettingsModel::~SettingsModel() = default;

void SettingsModel::notify(Change change) {
    if (changed) changed(change);
}

void SettingsModel::preferencesChanged() {
    auto ids = std::make_shared<std::set<std::string>>();
    for (const auto& app : pinned()) ids->insert(app.id());
    pinnedIds_ = std::move(ids);
}

void SettingsModel::setTab(std::string tab) {
    if (assign(tab_, std::move(tab))) notify();
}

void SettingsModel::setQuery(std::string query) {
    if (assign(query_, std::move(query))) notify(Change::query);
}

void SettingsModel::update(const Json& values) {
    bool any = false;
    if (assign(*preferences_, dictionaryOrEmpty(member(values, key::preferences)))) {
        preferencesChanged();
        any = true;
    }
    any |= assign(*state_, dictionaryOrEmpty(member(values, key::state)));
    if (const auto& installed = member(values, key::installed); isArrayOfDictionaries(installed)) {
        auto apps = convertApps(installed);
        if (apps != *installed_) {
            installed_ = std::make_shared<const Apps>(std::move(apps));
            any = true;
        }
    }
    any |= assign(message_, stringOrEmpty(values, key::message));
    any |= assign(failure_, stringOrEmpty(values, key::failure));
    any |= assign(loading_, boolOrFalse(values, key::loading));
    any |= assign(login_, boolOrFalse(values, key::login));
    if (any) notify();
}

SettingsModel::Apps SettingsModel::pinned() const {
    const auto& list = member(*preferences_, key::pinned);
    if (!isArrayOfDictionaries(list)) return {};
    return convertApps(list);
}

long long SettingsModel::count(const char* name) const {
    const auto& value = member(*state_, name);
    return value.is_array() ? static_cast<long long>(value.size()) : 0;
}

std::string SettingsModel::status(const SettingsApp& app) const {
    const std::string shown = shownPolicy(app);
    if (shown == policy::always) return settingsTexts::statusAlways;
    if (shown == policy::running) return settingsTexts::statusRunning;
    if (!stateFlag(key::trusted)) return settingsTexts::statusUntrusted;
    const auto detection = platform::stringMember(member(*state_, key::detections), app.id().c_str());
    if (detection == key::detectionPresent) return settingsTexts::statusYielded;
    return settingsTexts::statusKept;
}

long long SettingsModel::maxIcons() const {
    return platform::integerMember(*preferences_, key::maxIcons).value_or(defaultMaxIcons);
}

bool SettingsModel::stateFlag(const char* name) const { return boolOrFalse(*state_, name); }

std::optional<std::string> SettingsModel::stateString(const char* name) const {
    return platform::stringMember(*state_, name);
}

bool SettingsModel::flag(const char* name) const { return boolOrFalse(*preferences_, name); }

void SettingsModel::setFlag(const char* name, bool value) {
    if (assign((*preferences_)[name], Json(value))) {
        preferencesChanged();
        notify();
    }
    emit(events::preference(name, value));
}

void SettingsModel::setMaxIcons(long long value) {
    if (assign((*preferences_)[key::maxIcons], Json(value))) {
        preferencesChanged();
        notify();
    }
    emit(events::preference(key::maxIcons, value));
}

void SettingsModel::requestLogin(bool on) const {
    emit(events::login(on));
}

void SettingsModel::emit(Json record) const {
    if (emit_) emit_(record);
}

const char* shownPolicy(const SettingsApp& app) {
    if (app.policy() == policy::automatic) return policy::automatic;
    if (app.policy() == policy::running) return policy::running;
    return policy::always;
}

}  // namespace orvane
