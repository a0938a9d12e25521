#pragma once

#include <string>

// Every caller takes a record by value, so the full JSON library it is.
#include "platform/Json.h"

// The one place event records are made: a function per kind, each giving
// the record with exactly the keys eventKinds() lists for it. `app` is an
// application's four-key dictionary (AppEntry::dictionary and the settings
// window's own apps give it).
namespace orvane::events {

// The key every record carries.
inline constexpr const char* kindKey = "kind";

nlohmann::json error(const std::string& message);
// The host's screen-recording re-check finished.
nlohmann::json screenResult(bool granted);
nlohmann::json screenPermission();
nlohmann::json relaunch();
nlohmann::json settings();
nlohmann::json quit();
nlohmann::json pin(const nlohmann::json& app);
nlohmann::json preference(const std::string& key, bool value);
nlohmann::json preference(const std::string& key, long long value);
nlohmann::json login(bool value);
nlohmann::json loadInstalled();
nlohmann::json hideSettings();
nlohmann::json importDock();
nlohmann::json undoImport();
nlohmann::json dismissMessage();
nlohmann::json toggleDock();
nlohmann::json recovery();
nlohmann::json permission();
nlohmann::json accessibilityRetry();
nlohmann::json screenRetry();
nlohmann::json launch(const nlohmann::json& app);
// by is -1 (up) or 1 (down).
nlohmann::json move(const nlohmann::json& app, long long by);
nlohmann::json policy(const nlohmann::json& app, const std::string& policy);

}  // namespace orvane::events
