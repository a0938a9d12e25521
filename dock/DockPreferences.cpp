#include "dock/DockPreferences.h"

#include <memory>

#include "dock/DockTexts.h"
#include "platform/Json.h"
#include "platform/Preferences.h"
#include "platform/Tools.h"

namespace dock {

namespace {

using platform::Json;

constexpr const char* restartTool = "/usr/bin/killall";
constexpr const char* dockProcessName = "Dock";
constexpr const char* dockKeys[] = {autohideKey, autohideDelayKey};

// Made once and kept for the life of the library.
platform::PreferenceDomain& dockDomain() {
    static const std::shared_ptr<platform::PreferenceDomain> domain = platform::preferences(dockDomainName);
    return *domain;
}

platform::OrvaneError error(long code, const char* message) { return platform::OrvaneError{.code = code, .message = message}; }

std::optional<Json> storedForm(const Json& value) {
    if (value.is_null()) return std::nullopt;
    return value;
}

}  // namespace

Json dockRead() {
    auto& domain = dockDomain();
    // Picks up what the Dock or another process wrote since the last read.
    domain.synchronize();
    Json state = Json::object();
    for (const char* key : dockKeys) {
        auto value = domain.copyValue(key);
        state[key] = value ? *value : Json(nullptr);
    }
    return state;
}

bool dockIsHidden(const Json& state) {
    if (!state.is_object() || state.empty()) return false;
    auto autohide = state.find(autohideKey);
    if (autohide == state.end()) return false;
    // A stored number 1 reads as true, as the platform's numbers do.
    bool hides = autohide->is_boolean() ? autohide->get<bool>() : autohide->is_number() && autohide->get<double>() == 1.0;
    if (!hides) return false;
    auto delay = state.find(autohideDelayKey);
    return delay != state.end() && delay->is_number() && delay->get<double>() == hiddenAutohideDelay;
}

Json dockHiddenValues() { return {{autohideKey, true}, {autohideDelayKey, hiddenAutohideDelay}}; }

platform::Result<> dockWrite(const Json& values) {
    // Both keys are checked before either is set: a write refused for a
    // missing key must not leave the other key pending, where the next
    // synchronise (any read) would save it behind the caller's back.
    if (!values.is_object() || !values.contains(autohideKey) || !values.contains(autohideDelayKey)) {
        return error(errorCode::missingBackupField, text::missingBackupField);
    }
    auto& domain = dockDomain();
    domain.setValue(autohideKey, storedForm(values[autohideKey]));
    domain.setValue(autohideDelayKey, storedForm(values[autohideDelayKey]));
    if (!domain.synchronize()) return error(errorCode::cannotSave, text::cannotSave);

    platform::ToolOutcome outcome = platform::tools().run(restartTool, {dockProcessName});
    if (const auto* launchError = std::get_if<platform::Error>(&outcome)) return platform::OrvaneError::passedOn(*launchError);
    if (std::get<int>(outcome) != 0) return error(errorCode::restartFailed, text::restartFailed);
    return {};
}

platform::OrvaneError dockWriteRefusedInQaMode() { return error(errorCode::qaModeRefusesWrite, text::qaModeRefusesWrite); }

}  // namespace dock
