#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "settings/SettingsApp.h"

namespace orvane {

// What the settings window shows: the host's settings and status as last
// sent with settingsUpdate, the window's own page and search text, views
// derived from them, and the hook through which every action a person takes
// leaves as an event record. It owns no setting: a person changes only the
// page and the search text, and otherwise only through the two writes that
// let a toggle and the stepper move before the host answers. Main thread only.
class SettingsModel {
public:
    using Apps = std::vector<SettingsApp>;
    using Emit = std::function<void(const nlohmann::json&)>;

    SettingsModel();
    ~SettingsModel();
    SettingsModel(const SettingsModel&) = delete;
    SettingsModel& operator=(const SettingsModel&) = delete;

    // What a change touched: the search text alone, or anything else.
    enum class Change { query, other };

    // Fires after any observable property changed (once per update); never
    // when a setter or an update left everything as it was.
    std::function<void(Change)> changed;

    // Stored properties.
    const std::string& tab() const { return tab_; }
    void setTab(std::string tab);
    const std::string& query() const { return query_; }
    void setQuery(std::string query);
    const nlohmann::json& preferences() const { return *preferences_; }
    const nlohmann::json& state() const { return *state_; }
    // Shared and never changed in place, so that a page can keep the list it
    // was built from.
    const std::shared_ptr<const Apps>& installed() const { return installed_; }
    const std::string& message() const { return message_; }
    const std::string& failure() const { return failure_; }
    bool loading() const { return loading_; }
    bool login() const { return login_; }
    // Connected by the controller's start; until then events are dropped.
    void setEmit(Emit emit) { emit_ = std::move(emit); }

    // Applies a settingsUpdate dictionary: a full replacement of everything
    // but the catalogue, which is kept when the key is missing or not an
    // array. Leaves tab and query alone.
    void update(const nlohmann::json& values);

    // Derived views.
    // preferences["pinned"], unconvertible entries dropped, order kept.
    Apps pinned() const;
    // The ids of those apps, kept from the last change of the preferences,
    // so that a keystroke in the search does not read the list again.
    const std::shared_ptr<const std::set<std::string>>& pinnedIds() const { return pinnedIds_; }
    // The length of state[key] when it is an array, else 0.
    long long count(const char* key) const;
    // The policy line shown under a pinned app.
    std::string status(const SettingsApp& app) const;
    // preferences["maxIcons"] when it is an integer, else 5.
    long long maxIcons() const;
    // state[key] when it is a boolean, else false.
    bool stateFlag(const char* key) const;
    // state[key] when it is a string.
    std::optional<std::string> stateString(const char* key) const;

    // A toggle's binding: reading gives preferences[key] when it is a
    // boolean, else false; writing stores the value at once and sends a
    // "preference" event.
    bool flag(const char* key) const;
    void setFlag(const char* key, bool value);
    // The visible-icons stepper: stores the number, then sends it.
    void setMaxIcons(long long value);

    // Sends a record, made by one of model/EventRecords.h's functions, to
    // the host (through the hook connected by start).
    void emit(nlohmann::json record) const;
    // The launch-at-login toggle: sends {"kind": "login", "value": on} and
    // changes nothing, so the toggle shows what the host answers.
    void requestLogin(bool on) const;

private:
    void notify(Change change = Change::other);
    void preferencesChanged();

    std::string tab_;
    std::string query_;
    std::unique_ptr<nlohmann::json> preferences_;
    std::unique_ptr<nlohmann::json> state_;
    std::shared_ptr<const Apps> installed_;
    std::shared_ptr<const std::set<std::string>> pinnedIds_;
    std::string message_;
    std::string failure_;
    bool loading_ = false;
    bool login_ = false;
    Emit emit_;
};

// The policy a view shows for an app: one of the three, any other reading
// as "always", as the strip treats it.
const char* shownPolicy(const SettingsApp& app);

}  // namespace orvane
