#include "bridge/CommandTable.h"

#include <array>
#include <string_view>

#include "bridge/Arguments.h"
#include "bridge/BridgeTexts.h"
#include "catalogue/InstalledApps.h"
#include "controller/AppEntry.h"
#include "controller/ControllerSlot.h"
#include "controller/NativeController.h"
#include "dock/DockImport.h"
#include "dock/DockPreferences.h"
#include "platform/Accessibility.h"
#include "platform/Json.h"
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
    controller->setQaMode(boolArgument(args, "qaMode").value_or(false));
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
        controller->settings().model().setTab(stringArgument(args, "tab").value_or(settingsTexts::tab::apps));
    return nothing();
}

CommandOutcome snapshot(const Json&) {
    if (auto* controller = current()) return controller->snapshot();
    return nothing();
}

CommandOutcome appearance(const Json& args) {
    const auto dark = boolArgument(args, "dark");
    if (auto* controller = current(); controller && dark) controller->setAppearance(*dark);
    return nothing();
}

CommandOutcome capture(const Json& args) {
    const auto directory = stringArgument(args, "directory");
    if (auto* controller = current(); controller && directory) controller->capture(*directory);
    return nothing();
}

CommandOutcome events(const Json&) {
    if (auto* controller = current()) return controller->drainEvents();
    return Json::array();
}

CommandOutcome permission(const Json& args) {
    const bool trusted = platform::accessibility().isTrusted(boolArgument(args, "prompt").value_or(false));
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
    if (const auto path = stringArgument(args, "path")) platform::workspace().activateFileViewerSelecting({*path});
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
    if (auto* controller = current(); controller && controller->qaMode()) return dock::dockWriteRefusedInQaMode();
    if (const auto written = dock::dockWrite(args); !written) return written.error();
    return dock::dockRead();
}

CommandOutcome importDock(const Json&) { return dock::dockImport(); }

CommandOutcome installed(const Json&) { return catalogue::installedApps(); }

CommandOutcome previewStep(const Json& args) {
    if (auto* controller = current()) controller->previewStep(integerArgument(args, "step").value_or(1));
    return nothing();
}

CommandOutcome closeCard(const Json&) {
    if (auto* controller = current()) controller->closeCard();
    return nothing();
}

CommandOutcome scroll(const Json& args) {
    if (auto* controller = current()) controller->scroll(integerArgument(args, "step").value_or(1));
    return nothing();
}

CommandOutcome hover(const Json& args) {
    const auto index = integerArgument(args, "index");
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
    std::string_view name;
    Handler handler;
};

constexpr std::array<Command, 27> table{{
    {"start", start},
    {"configure", configure},
    {"settingsUpdate", settingsUpdate},
    {"settingsShow", settingsShow},
    {"settingsHide", settingsHide},
    {"settingsTab", settingsTab},
    {"qaSelfPreview", qaSelfPreview},
    {"screenPermission", screenPermission},
    {"screenRetry", screenRetry},
    {"import", importDock},
    {"installed", installed},
    {"snapshot", snapshot},
    {"appearance", appearance},
    {"capture", capture},
    {"events", events},
    {"permission", permission},
    {"launch", launch},
    {"reveal", reveal},
    {"all", all},
    {"dockSuspend", dockSuspend},
    {"dockRead", readDock},
    {"dockWrite", writeDock},
    {"previewStep", previewStep},
    {"closeCard", closeCard},
    {"scroll", scroll},
    {"hover", hover},
    {"stop", stop},
}};

}  // namespace

CommandOutcome dispatch(const std::string& command, const nlohmann::json& args) {
    for (const auto& entry : table) {
        if (entry.name == command) return entry.handler(args);
    }
    return platform::OrvaneError{"Orvane", 1, texts::unknownCommand};
}

}  // namespace orvane
