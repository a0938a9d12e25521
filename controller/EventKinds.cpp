// The event kinds as one list, for the guide for hosts and its test. The emit
// sites build their records themselves; this list names what they can build.

#include "controller/EventKinds.h"

#include <array>

#include "settings/SettingsTexts.h"

namespace orvane {
namespace {

namespace kind = settingsTexts::kind;

constexpr std::array<EventKind, 22> kinds{{
    {"error", "`message` (string)",
     "a launch found no bundle (\"找不到 NAME，请在设置中移除或重新导入。\") or the system refused it (\"打开失败：…\"); "
     "keeping the Dock hidden failed (\"Dock 隐藏校准失败：…\")"},
    {"screenResult", "`message` (string)",
     "the `screenRetry` probe finished: \"屏幕录制权限已生效。\" or \"权限尚未对当前进程生效；已授权请重新打开岚舟。\""},
    {kind::screenPermission, "none", "the card's or the settings window's screen-recording permission button was pressed"},
    {kind::relaunch, "none", "the card's or the settings window's reopen button was pressed"},
    {"settings", "none", "the settings item of the all-applications menu was chosen"},
    {kind::quit, "none", "the quit item of the all-applications menu or the settings window's quit button was chosen"},
    {kind::pin, "`app` (app record)",
     "pin or unpin: a strip button's context menu, a catalogue row's add button or a pinned row's remove button"},
    {kind::preference, "`key` (string), `value` (boolean, or integer for \"maxIcons\")",
     "a settings toggle (\"centered\", \"showRunning\", \"autoDedup\") or the visible-icons stepper changed"},
    {kind::login, "`value` (boolean)", "the launch-at-login toggle changed"},
    {kind::loadInstalled, "none", "the settings window switched to the \"add\" page"},
    {kind::hideSettings, "none", "the settings window's close button in the toolbar was pressed"},
    {kind::importDock, "none", "the import button was pressed"},
    {kind::undoImport, "none", "the undo-import button was pressed"},
    {kind::dismissMessage, "none", "the banner's close button was pressed"},
    {kind::toggleDock, "none", "the Dock button was pressed (keep the Dock hidden, or restore it)"},
    {kind::recovery, "none", "the Dock recovery-instructions button was pressed"},
    {kind::permission, "none", "the accessibility row's button was pressed"},
    {kind::accessibilityRetry, "none", "the re-check-accessibility button was pressed"},
    {kind::screenRetry, "none", "the re-check-screen-recording button was pressed"},
    {kind::launch, "`app` (app record)", "a pinned row's open button was pressed"},
    {kind::move, "`app` (app record), `value` (-1 or 1)", "a pinned row's up or down button was pressed"},
    {kind::policy, "`app` (app record), `value` (\"auto\", \"always\" or \"running\")",
     "a pinned row's policy picker changed"},
}};

}  // namespace

std::span<const EventKind> eventKinds() { return kinds; }

}  // namespace orvane
