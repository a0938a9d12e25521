#include "fuzz/EventLedger.h"

#include <algorithm>
#include <set>

#include "fuzz/Invariant.h"
#include "model/AppEntry.h"
#include "model/EventKinds.h"
#include "model/EventRecords.h"
#include "model/EventTexts.h"
#include "settings/SettingsTexts.h"

namespace orvane::fuzz {

namespace {

using nlohmann::json;

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}
bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool isAppDictionary(const json& value) {
    if (!value.is_object() || value.size() != 4) return false;
    for (const char* key : {"id", "name", "path", "policy"})
        if (!value.contains(key) || !value[key].is_string()) return false;
    return true;
}

const EventKindInfo* kindNamed(const std::string& name) {
    for (const auto& info : eventKinds())
        if (info.name == name) return &info;
    return nullptr;
}

// What the settings window's controls emit.
const std::set<std::string>& settingsKinds() {
    static const std::set<std::string> kinds = [] {
        std::set<std::string> window;
        for (const auto& kind : eventKinds())
            if (kind.fromSettingsWindow) window.emplace(kind.name);
        return window;
    }();
    return kinds;
}

namespace texts = eventTexts;
const char* screenGranted = texts::probeSucceeded;
const char* screenNotYet = texts::probeFailed;

}  // namespace

std::string EventLedger::bucketOf(const json& record) {
    const std::string shown = record.dump(-1, ' ', false, json::error_handler_t::replace);
    auto fail = [&](const char* what) { return [what, &shown] { return std::string(what) + ": " + shown; }; };
    require(record.is_object() && record.contains(events::kindKey) && record[events::kindKey].is_string(),
            fail("an event without a kind"));
    const EventKindInfo* info = kindNamed(record[events::kindKey].get<std::string>());
    if (!info) throw InvariantBroken("an event of no known kind: " + shown);
    // Exactly the keys the kinds table lists for it.
    require(record.size() == info->keys.size() + 1 &&
                std::all_of(info->keys.begin(), info->keys.end(),
                            [&](const EventKey& key) { return record.contains(std::string(key.name)); }),
            fail("an event with other keys than its kind's"));
    const std::string kind(info->name);
    switch (info->kind) {
    case EventKind::error: {
        require(record["message"].is_string(), fail("an error without a message"));
        const std::string message = record["message"].get<std::string>();
        if (startsWith(message, texts::launchMissingPrefix) && endsWith(message, texts::launchMissingSuffix))
            return missingApp;
        if (startsWith(message, texts::launchFailedPrefix)) return openFailed;
        if (startsWith(message, texts::dockCalibrationFailedPrefix)) return dockFailed;
        throw InvariantBroken("an error of no known cause: " + shown);
    }
    case EventKind::screenResult:
        require(record["message"] == screenGranted || record["message"] == screenNotYet,
                fail("a screen result's message"));
        return kind;
    case EventKind::pin:
    case EventKind::launch:
        require(isAppDictionary(record["app"]), fail("an app event without an app record"));
        return kind;
    case EventKind::move:
        require(isAppDictionary(record["app"]), fail("an app event without an app record"));
        require(record["value"] == 1 || record["value"] == -1, fail("a move by other than one place"));
        return kind;
    case EventKind::policy: {
        require(isAppDictionary(record["app"]), fail("an app event without an app record"));
        const json& value = record["value"];
        require(value == policy::automatic || value == policy::always || value == policy::whileNotRunning,
                fail("a policy of no known kind"));
        return kind;
    }
    case EventKind::preference: {
        require(record["key"].is_string(), fail("a preference without a key"));
        const json& value = record["value"];
        bool stepper = record["key"] == settingsTexts::key::maxIcons;
        require(stepper ? value.is_number_integer() : value.is_boolean(), fail("a preference value of the wrong type"));
        return kind;
    }
    case EventKind::login:
        require(record["value"].is_boolean(), fail("a login event without a boolean"));
        return kind;
    default:
        return kind;
    }
}

void EventLedger::reset() {
    exact_.clear();
    allowed_.clear();
    unbounded_.clear();
    settingsActions_ = 0;
}

void EventLedger::drained(const json& events) {
    require(events.is_array(), "events is not an array");
    std::map<std::string, int> counts;
    for (const auto& record : events) ++counts[bucketOf(record)];
    std::set<std::string> buckets;
    for (const auto& [bucket, n] : counts) buckets.insert(bucket);
    for (const auto& [bucket, n] : exact_) buckets.insert(bucket);
    int settingsExtra = 0;
    for (const auto& bucket : buckets) {
        int found = counts[bucket];
        int least = exact_[bucket];
        require(found >= least, [&] {
            return "lost events: " + std::to_string(least) + " \"" + bucket + "\" expected since the last drain, " +
                   std::to_string(found) + " drained";
        });
        if (unbounded_[bucket]) continue;
        int extra = std::max(0, found - least - allowed_[bucket]);
        int fromLater = std::min(extra, later_[bucket]);
        later_[bucket] -= fromLater;
        extra -= fromLater;
        // Beyond what the steps named, only the settings window's actions may add one each.
        if (extra > 0 && settingsKinds().count(bucket)) {
            settingsExtra += extra;
            extra = 0;
        }
        require(extra == 0, [&] {
            return "more events than the steps produce: " + std::to_string(found) + " \"" + bucket +
                   "\" drained, at most " + std::to_string(found - extra) + " since the last drain";
        });
    }
    require(settingsExtra <= settingsActions_, [&] {
        return std::to_string(settingsExtra) + " settings-window events beyond the named ones after " +
               std::to_string(settingsActions_) + " actions in the window";
    });
    settingsActions_ = 0;
    exact_.clear();
    allowed_.clear();
}

}  // namespace orvane::fuzz
