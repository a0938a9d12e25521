#include "model/EventRecords.h"

#include "model/EventKinds.h"
#include "model/EventTexts.h"
#include "platform/Json.h"

namespace orvane::events {
namespace {

using platform::Json;

Json record(EventKind kind) { return {{kindKey, std::string(kindName(kind))}}; }

// The further keys in the order eventKinds() lists them.
Json record(EventKind kind, std::initializer_list<Json> values) {
    Json made = record(kind);
    const auto& keys = eventKind(kind).keys;
    auto value = values.begin();
    for (std::size_t i = 0; i < keys.size() && value != values.end(); ++i, ++value)
        made[std::string(keys[i].name)] = *value;
    return made;
}

}  // namespace

Json error(const std::string& message) { return record(EventKind::error, {message}); }
Json screenResult(bool granted) {
    return record(EventKind::screenResult, {granted ? eventTexts::probeSucceeded : eventTexts::probeFailed});
}
Json screenPermission() { return record(EventKind::screenPermission); }
Json relaunch() { return record(EventKind::relaunch); }
Json settings() { return record(EventKind::settings); }
Json quit() { return record(EventKind::quit); }
Json pin(const Json& app) { return record(EventKind::pin, {app}); }
Json preference(const std::string& key, bool value) { return record(EventKind::preference, {key, value}); }
Json preference(const std::string& key, long long value) { return record(EventKind::preference, {key, value}); }
Json login(bool value) { return record(EventKind::login, {value}); }
Json loadInstalled() { return record(EventKind::loadInstalled); }
Json hideSettings() { return record(EventKind::hideSettings); }
Json importDock() { return record(EventKind::importDock); }
Json undoImport() { return record(EventKind::undoImport); }
Json dismissMessage() { return record(EventKind::dismissMessage); }
Json toggleDock() { return record(EventKind::toggleDock); }
Json recovery() { return record(EventKind::recovery); }
Json permission() { return record(EventKind::permission); }
Json accessibilityRetry() { return record(EventKind::accessibilityRetry); }
Json screenRetry() { return record(EventKind::screenRetry); }
Json launch(const Json& app) { return record(EventKind::launch, {app}); }
Json move(const Json& app, long long by) { return record(EventKind::move, {app, by}); }
Json policy(const Json& app, const std::string& policy) { return record(EventKind::policy, {app, policy}); }

}  // namespace orvane::events
