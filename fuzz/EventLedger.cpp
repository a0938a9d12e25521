#include "fuzz/EventLedger.h"

#include <algorithm>
#include <set>

#include "fuzz/Invariant.h"
#include "model/EventKinds.h"
#include "model/EventTexts.h"

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

// Kinds whose records carry nothing but the kind.
const std::set<std::string>& plainKinds() {
    static const std::set<std::string> kinds = [] {
        std::set<std::string> plain;
        for (const auto& kind : eventKinds())
            if (kind.keys.empty()) plain.emplace(kind.name);
        return plain;
    }();
    return kinds;
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
    require(record.is_object() && record.contains("kind") && record["kind"].is_string(),
            [&] { return std::string("an event without a kind: " + shown); });
    const std::string kind = record["kind"].get<std::string>();
    auto keys = [&](std::size_t count) {
        require(record.size() == count,
                [&] { return std::string("an event with other keys than its kind's: " + shown); });
    };
    if (plainKinds().count(kind)) {
        keys(1);
        return kind;
    }
    if (kind == "error") {
        keys(2);
        require(record["message"].is_string(), [&] { return std::string("an error without a message: " + shown); });
        const std::string message = record["message"].get<std::string>();
        if (startsWith(message, texts::launchMissingPrefix) && endsWith(message, texts::launchMissingSuffix))
            return missingApp;
        if (startsWith(message, texts::launchFailedPrefix)) return openFailed;
        if (startsWith(message, texts::dockCalibrationFailedPrefix)) return dockFailed;
        throw InvariantBroken("an error of no known cause: " + shown);
    }
    if (kind == "screenResult") {
        keys(2);
        require(record["message"] == screenGranted || record["message"] == screenNotYet,
                [&] { return std::string("a screen result's message: " + shown); });
        return kind;
    }
    if (kind == "pin" || kind == "launch") {
        keys(2);
        require(isAppDictionary(record["app"]),
                [&] { return std::string("an app event without an app record: " + shown); });
        return kind;
    }
    if (kind == "move" || kind == "policy") {
        keys(3);
        require(isAppDictionary(record["app"]),
                [&] { return std::string("an app event without an app record: " + shown); });
        const json& value = record["value"];
        if (kind == "move")
            require(value == 1 || value == -1, [&] { return std::string("a move by other than one place: " + shown); });
        else
            require(value == "auto" || value == "always" || value == "running",
                    [&] { return std::string("a policy of no known kind: " + shown); });
        return kind;
    }
    if (kind == "preference") {
        keys(3);
        require(record["key"].is_string(), [&] { return std::string("a preference without a key: " + shown); });
        const json& value = record["value"];
        bool stepper = record["key"] == "maxIcons";
        require(stepper ? value.is_number_integer() : value.is_boolean(),
                [&] { return std::string("a preference value of the wrong type: " + shown); });
        return kind;
    }
    if (kind == "login") {
        keys(2);
        require(record["value"].is_boolean(), [&] { return std::string("a login event without a boolean: " + shown); });
        return kind;
    }
    throw InvariantBroken("an event of no known kind: " + shown);
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
