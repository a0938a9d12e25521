#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Every kind of event record the host drains with `events`, the settings
// window's included.
enum class EventKind {
    error,
    screenResult,
    screenPermission,
    relaunch,
    settings,
    quit,
    pin,
    preference,
    login,
    loadInstalled,
    hideSettings,
    importDock,
    undoImport,
    dismissMessage,
    toggleDock,
    recovery,
    permission,
    accessibilityRetry,
    screenRetry,
    launch,
    move,
    policy,
};

// A key a record carries besides its kind, and what its value is.
struct EventKey {
    std::string_view name;
    std::string what;
};

// One kind as the host sees it: its `kind` string, the further keys its
// records carry (exactly these), when it is queued, and whether a person's
// action in the settings window sends it.
struct EventKindInfo {
    EventKind kind;
    std::string_view name;
    std::vector<EventKey> keys;
    std::string when;
    bool fromSettingsWindow;
};

// Every kind, each once, in the order the guide for hosts lists them.
const std::vector<EventKindInfo>& eventKinds();
const EventKindInfo& eventKind(EventKind kind);
// The `kind` string of a record.
std::string_view kindName(EventKind kind);

}  // namespace orvane
