#include "bridge/CommandTable.h"

#include <array>
#include <string_view>

#include "bridge/BridgeTexts.h"
#include "catalogue/InstalledApps.h"
#include "model/AppEntry.h"
#include "controller/ControllerSlot.h"
#include "controller/NativeController.h"
#include "dock/DockImport.h"
#include "dock/DockPreferences.h"
#include "platform/Accessibility.h"
#include "platform/Json.h"
#include "platform/JsonMember.h"
#include "platform/Path.h"
#include "platform/Workspace.h"
#include "preview/ScreenCaptureAccess.h"
#include "settings/SettingsController.h"
#include "settings/SettingsModel.h"
#include "settings/SettingsTexts.h"

namespace orvane {
namespace {

using Json = nlohmann::json;
using Handler = CommandOutcome (*)(const Json& args);

Json nothing() { return Json::object(); }

NativeController* current() { return controllerSlot().get(); }

CommandOutcome start(const Json& args) {
    // A controller that is already there is stopped first, so that its status
    // item, observers and timer do not linger beside the new one's.
    if (auto previous = controllerSlot()) {
        controllerSlot().reset();
        previous->stop();
    }
    auto controller = NativeController::create();
    controller->setQaMode(platform::boolMember(args, "qaMode").value_or(false));
    controllerSlot() = controller;
    controller->start();
    return nothing();
}

CommandOutcome configure(const Json& args) {
    if (auto* controller = current()) controller->configure(args);
    return nothing();
}


CommandOutcome qaSelfPreview(const Json&) {
    if (auto* controller = current()) controller->qaSelfPreview();
    return nothing();
}


CommandOutcome screenPermission(const Json&) {
    ScreenCaptureAccess::request();
    return nothing();
}

// The reply does not wait for the probe; its result finds the controller
// through the slot as it is when the probe ends.
CommandOutcome screenRetry(const Json&) {
    ScreenCaptureAccess::probe([](bool granted) {
        if (auto controller = controllerSlot()) controller->screenProbeFinished(granted);
    });
    return nothing();
}

CommandOutcome settingsUpdate(const Json& args) {
    if (auto* controller = current()) controller->settings().model().update(args);
    return nothing();
}

CommandOutcome settingsShow(const Json&) {
    if (auto* controller = current()) controller->settings().show();
    return nothing();
}

CommandOutcome settingsHide(const Json&) {
    if (auto* controller = current()) controller->settings().hide();
    return nothing();
}

CommandOutcome settingsTab(const Json& args) {
    if (auto* controller = current())
        controller->settings().model().setTab(platform::stringMember(args, "tab").value_or(settingsTexts::tab::apps));
    return nothing();
}

// The snapshot is written into the reply as it is read. The writer runs
// within this call, while the slot still holds the controller.
CommandOutcome snapshot(const Json&) {
    if (auto* controller = current())
        return JsonWriter([controller](JsonOutput& out) { controller->writeSnapshot(out); });
    return nothing();
}

CommandOutcome appearance(const Json& args) {
    const auto dark = platform::boolMember(args, "dark");
    if (auto* controller = current(); controller && dark) controller->setAppearance(*dark);
    return nothing();
}

CommandOutcome capture(const Json& args) {
    const auto directory = platform::stringMember(args, "directory");
    if (auto* controller = current(); controller && directory) controller->capture(*directory);
    return nothing();
}

CommandOutcome events(const Json&) {
    if (auto* controller = current()) return controller->drainEvents();
    return Json::array();
}

CommandOutcome permission(const Json& args) {
    const bool trusted = platform::accessibility().isTrusted(platform::boolMember(args, "prompt").value_or(false));
    if (auto* controller = current()) controller->permissionFollowUp();
    return Json{{"trusted", trusted}};
}

CommandOutcome launch(const Json& args) {
    auto* controller = current();
    if (!controller) return nothing();
    if (const auto entry = AppEntry::fromDictionary(args)) controller->launch(*entry);
    return nothing();
}

CommandOutcome reveal(const Json& args) {
    if (const auto path = platform::stringMember(args, "path"); path && platform::isPath(*path)) platform::workspace().activateFileViewerSelecting({*path});
    return nothing();
}

CommandOutcome all(const Json&) {
    if (auto* controller = current()) controller->all();
    return nothing();
}

CommandOutcome dockSuspend(const Json&) {
    if (auto* controller = current()) controller->dockSuspend();
    return nothing();
}

CommandOutcome readDock(const Json&) { return dock::dockRead(); }

CommandOutcome writeDock(const Json& args) {
    if (auto* controller = current(); controller && controller->state().qaMode) return dock::dockWriteRefusedInQaMode();
    if (const auto written = dock::dockWrite(args); !written) return written.error();
    return dock::dockRead();
}

CommandOutcome importDock(const Json&) { return dock::dockImport(); }

CommandOutcome installed(const Json&) { return catalogue::installedApps(); }

CommandOutcome previewStep(const Json& args) {
    if (auto* controller = current()) controller->hoverCard().step(platform::integerMember(args, "step").value_or(1));
    return nothing();
}

CommandOutcome closeCard(const Json&) {
    if (auto* controller = current()) controller->closeCard();
    return nothing();
}

CommandOutcome scroll(const Json& args) {
    if (auto* controller = current()) controller->scroll(platform::integerMember(args, "step").value_or(1));
    return nothing();
}

CommandOutcome hover(const Json& args) {
    const auto index = platform::integerMember(args, "index");
    if (auto* controller = current(); controller && index) controller->hover(*index);
    return nothing();
}

CommandOutcome stop(const Json&) {
    // The controller stops while it is still in the slot, then the slot empties.
    if (auto controller = controllerSlot()) {
        controller->stop();
        controllerSlot().reset();
    }
    return nothing();
}

struct Command {
    CommandInfo info;
    Handler handler;
};

constexpr std::array<Command, 27> table{{
    {{"start",
      "Creates a new controller (stopping one already there), sets acceptance mode, shows the strip in the menu bar.",
      "`qaMode` (boolean, false)"},
     start},
    {{"configure",
      "Applies the host's configuration; a key left out returns to its default.",
      "the whole `args` is the configuration"},
     configure},
    {{"settingsUpdate",
      "Replaces what the settings window shows (`installed` is kept when left out).",
      "the whole `args` is the settings state"},
     settingsUpdate},
    {{"settingsShow",
      "Shows the settings window.",
      "none"},
     settingsShow},
    {{"settingsHide",
      "Orders the settings window out without closing it.",
      "none"},
     settingsHide},
    {{"settingsTab",
      "Selects a settings page: \"apps\", \"add\" or \"settings\".",
      "`tab` (string, \"apps\")"},
     settingsTab},
    {{"qaSelfPreview",
      "In acceptance mode with a strip: opens the self-preview window and the host's own card.",
      "none"},
     qaSelfPreview},
    {{"screenPermission",
      "Asks the system for screen-recording permission.",
      "none"},
     screenPermission},
    {{"screenRetry",
      "Probes screen recording; the result arrives later as a \"screenResult\" event.",
      "none"},
     screenRetry},
    {{"import",
      "Reads the Dock's application list for import.",
      "none"},
     importDock},
    {{"installed",
      "Lists the installed applications.",
      "none"},
     installed},
    {{"snapshot",
      "The controller's whole visible state; `{}` without a controller.",
      "none"},
     snapshot},
    {{"appearance",
      "Applies the dark or light appearance to the strip, the settings window and the card.",
      "`dark` (boolean, no default)"},
     appearance},
    {{"capture",
      "Writes pictures of the strip, the card and the settings window into the directory.",
      "`directory` (string, no default)"},
     capture},
    {{"events",
      "Returns the queued events, oldest first, and empties the queue; `[]` without a controller.",
      "none"},
     events},
    {{"permission",
      "Checks accessibility trust (prompting when asked), then refreshes and rescans; replies `{\"trusted\":…}`.",
      "`prompt` (boolean, false)"},
     permission},
    {{"launch",
      "Launches or activates the application.",
      "the whole `args` is an app record; `path` required"},
     launch},
    {{"reveal",
      "Shows the file selected in the file manager.",
      "`path` (string, no default)"},
     reveal},
    {{"all",
      "Opens the all-applications menu.",
      "none"},
     all},
    {{"dockSuspend",
      "Stops keeping the Dock hidden until the next `configure`.",
      "none"},
     dockSuspend},
    {{"dockRead",
      "Reads the Dock's auto-hide preferences.",
      "none"},
     readDock},
    {{"dockWrite",
      "Writes the Dock's auto-hide preferences, restarts the Dock and reads them back; refused in acceptance mode.",
      "the whole `args` is the Dock state to write"},
     writeDock},
    {{"previewStep",
      "Moves the open card's window selection by `step`.",
      "`step` (integer, 1)"},
     previewStep},
    {{"closeCard",
      "Closes the hover card.",
      "none"},
     closeCard},
    {{"scroll",
      "Scrolls the strip by `step` slots.",
      "`step` (integer, 1)"},
     scroll},
    {{"hover",
      "Opens the card for entry `index` at once, without the hover delay.",
      "`index` (integer, no default)"},
     hover},
    {{"stop",
      "Stops the controller and empties its slot; the Dock is left as it is.",
      "none"},
     stop},
}};

}  // namespace

std::vector<CommandInfo> commandTable() {
    std::vector<CommandInfo> listing;
    for (const auto& entry : table) listing.push_back(entry.info);
    return listing;
}

CommandOutcome dispatch(const std::string& command, const nlohmann::json& args) {
    for (const auto& entry : table) {
        if (entry.info.name == command) return entry.handler(args);
    }
    return platform::OrvaneError{"Orvane", 1, texts::unknownCommand};
}

}  // namespace orvane
