// The event kinds as one table: the records' builders take their `kind`
// strings from it, and the guide for hosts, its test and the fuzzer's ledger
// read it. The texts that records carry are quoted from their constants.

#include "model/EventKinds.h"

#include <cassert>

#include "model/AppEntry.h"
#include "model/EventTexts.h"

namespace orvane {
namespace {

namespace texts = eventTexts;

// The parts joined in double quotes, as the guide shows a text.
template <class... Parts>
std::string inQuotes(const Parts&... parts) {
    std::string quoted = "\"";
    ((quoted += parts), ...);
    quoted += '"';
    return quoted;
}

const EventKey message{"message", "string"};
const EventKey app{"app", "app record"};

std::vector<EventKindInfo> table() {
    constexpr bool settingsWindow = true;
    constexpr bool library = false;
    const std::string policies =
        inQuotes(policy::automatic) + ", " + inQuotes(policy::always) + " or " + inQuotes(policy::whileNotRunning);
    return {
        {EventKind::error, "error", {message},
         std::string("a launch found no bundle (") +
             inQuotes(texts::launchMissingPrefix, "NAME", texts::launchMissingSuffix) +
             ") or the system refused it (" + inQuotes(texts::launchFailedPrefix, "…") +
             "); keeping the Dock hidden failed (" + inQuotes(texts::dockCalibrationFailedPrefix, "…") +
             ")",
         library},
        {EventKind::screenResult, "screenResult", {message},
         "the `screenRetry` probe finished: " + inQuotes(texts::probeSucceeded) + " or " + inQuotes(texts::probeFailed),
         library},
        {EventKind::screenPermission, "screenPermission", {},
         "the card's or the settings window's screen-recording permission button was pressed", settingsWindow},
        {EventKind::relaunch, "relaunch", {}, "the card's or the settings window's reopen button was pressed",
         settingsWindow},
        {EventKind::settings, "settings", {}, "the settings item of the all-applications menu was chosen", library},
        {EventKind::quit, "quit", {},
         "the quit item of the all-applications menu or the settings window's quit button was chosen",
         settingsWindow},
        {EventKind::pin, "pin", {app},
         "pin or unpin: a strip button's context menu, a catalogue row's add button or a pinned row's remove button",
         settingsWindow},
        {EventKind::preference, "preference", {{"key", "string"}, {"value", "boolean, or integer for \"maxIcons\""}},
         "a settings toggle (\"centered\", \"showRunning\", \"autoDedup\") or the visible-icons stepper changed",
         settingsWindow},
        {EventKind::login, "login", {{"value", "boolean"}}, "the launch-at-login toggle changed", settingsWindow},
        {EventKind::loadInstalled, "loadInstalled", {}, "the settings window switched to the \"add\" page",
         settingsWindow},
        {EventKind::hideSettings, "hideSettings", {}, "the settings window's close button in the toolbar was pressed",
         settingsWindow},
        {EventKind::importDock, "import", {}, "the import button was pressed", settingsWindow},
        {EventKind::undoImport, "undoImport", {}, "the undo-import button was pressed", settingsWindow},
        {EventKind::dismissMessage, "dismissMessage", {}, "the banner's close button was pressed", settingsWindow},
        {EventKind::toggleDock, "toggleDock", {}, "the Dock button was pressed (keep the Dock hidden, or restore it)",
         settingsWindow},
        {EventKind::recovery, "recovery", {}, "the Dock recovery-instructions button was pressed", settingsWindow},
        {EventKind::permission, "permission", {}, "the accessibility row's button was pressed", settingsWindow},
        {EventKind::accessibilityRetry, "accessibilityRetry", {}, "the re-check-accessibility button was pressed",
         settingsWindow},
        {EventKind::screenRetry, "screenRetry", {}, "the re-check-screen-recording button was pressed",
         settingsWindow},
        {EventKind::launch, "launch", {app}, "a pinned row's open button was pressed", settingsWindow},
        {EventKind::move, "move", {app, {"value", "-1 or 1"}}, "a pinned row's up or down button was pressed",
         settingsWindow},
        {EventKind::policy, "policy", {app, {"value", policies}}, "a pinned row's policy picker changed",
         settingsWindow},
    };
}

}  // namespace

const std::vector<EventKindInfo>& eventKinds() {
    static const std::vector<EventKindInfo> kinds = [] {
        auto rows = table();
        for (std::size_t i = 0; i < rows.size(); ++i)
            assert(rows[i].kind == EventKind(i) && "the table lists the kinds in the enumeration's order");
        return rows;
    }();
    return kinds;
}

const EventKindInfo& eventKind(EventKind kind) { return eventKinds().at(std::size_t(kind)); }

std::string_view kindName(EventKind kind) { return eventKind(kind).name; }

}  // namespace orvane
