#include "controller/AppActions.h"

#include "controller/NativeController.h"
#include "model/EventRecords.h"
#include "model/EventTexts.h"
#include "platform/Application.h"
#include "platform/Files.h"
#include "platform/Path.h"
#include "platform/Json.h"
#include "platform/RunLoop.h"
#include "platform/ui/Menu.h"
#include "strip/AppMenus.h"
#include "strip/StripView.h"

namespace orvane {

platform::RunningApp findRunning(const std::vector<platform::RunningApp>& running, const AppEntry& entry) {
    for (const auto& app : running) {
        if (!app) continue;
        if (app->bundleIdentifier() == entry.id) return app;
        if (app->bundlePath() == entry.path) return app;
    }
    return nullptr;
}

std::optional<std::string> applicationLocation(const AppEntry& entry) {
    if (platform::isPath(entry.path) && platform::files().exists(entry.path)) return entry.path;
    return platform::workspace().urlForApplication(entry.id);
}

std::vector<AppEntry> regularRunningEntries(const std::vector<platform::RunningApp>& running, int ownPid) {
    std::vector<AppEntry> entries;
    for (const auto& app : running) {
        if (!app || app->activationPolicy() != platform::ActivationPolicy::regular) continue;
        if (app->processIdentifier() == ownPid) continue;
        entries.push_back(AppEntry::fromRunningApplication(*app));
    }
    return entries;
}

std::optional<AppEntry> entryOfItem(const platform::ui::MenuItem& item) {
    const auto* dictionary = std::any_cast<platform::Json>(&item.representedObject);
    if (!dictionary) return std::nullopt;
    return AppEntry::fromDictionary(*dictionary);
}

platform::RunningApp NativeController::appRunning(const AppEntry& entry) { return findRunning(state_.running, entry); }

std::shared_ptr<platform::ui::Image> NativeController::icon(const AppEntry& entry) {
    auto cached = images_.find(entry.path);
    if (cached != images_.end()) return cached->second;
    // A text that names no file gets the generic icon, as a missing file does.
    auto image = platform::workspace().iconForFile(platform::isPath(entry.path) ? entry.path : std::string());
    images_.emplace(entry.path, image);
    return image;
}

void NativeController::launch(const AppEntry& entry) {
    state_.lastAction = "launch:" + entry.id;
    closeCard();
    auto location = applicationLocation(entry);
    if (!location) {
        emitError(eventTexts::launchMissingPrefix + entry.name + eventTexts::launchMissingSuffix);
        return;
    }
    // The completion comes on another thread: it only hops to the main
    // thread, where the controller is looked up again.
    std::weak_ptr<NativeController> weak = weak_from_this();
    platform::workspace().openApplication(
        *location, true, [weak](platform::RunningApp, std::optional<platform::Error> error) {
            if (!error) return;
            std::string message = eventTexts::launchFailedPrefix + error->description;
            platform::runLoop().postToMain([weak, message = std::move(message)] {
                if (auto self = weak.lock()) self->emitError(message);
            });
        });
}

AppMenuActions NativeController::menuActions() {
    std::weak_ptr<NativeController> weak = weak_from_this();
    AppMenuActions actions;
    actions.menuLaunch = [weak](platform::ui::MenuItem& item) {
        if (auto self = weak.lock()) self->menuLaunch(item);
    };
    actions.pinAction = [weak](platform::ui::MenuItem& item) {
        if (auto self = weak.lock()) self->pinAction(item);
    };
    actions.revealAction = [weak](platform::ui::MenuItem& item) {
        if (auto self = weak.lock()) self->revealAction(item);
    };
    actions.settingsAction = [weak] {
        if (auto self = weak.lock()) self->settingsAction();
    };
    actions.quitAction = [weak] {
        if (auto self = weak.lock()) self->quitAction();
    };
    return actions;
}

void NativeController::contextMenu(const AppEntry& entry, const platform::ui::Event& event) {
    closeCard();
    auto menu = AppMenus::contextMenu(entry, AppMenus::isPinned(entry, state_.pinned), menuActions());
    if (state_.strip) platform::ui::Menu::popUpContextMenu(menu, event, state_.strip);
}

void NativeController::all() {
    state_.lastAction = "all";
    closeCard();
    std::weak_ptr<NativeController> weak = weak_from_this();
    AllAppsInputs inputs;
    inputs.pinned = state_.pinned;
    inputs.running = regularRunningEntries(state_.running, platform::application().processIdentifier());
    inputs.isRunning = [weak](const AppEntry& entry) {
        auto self = weak.lock();
        return self && self->appRunning(entry) != nullptr;
    };
    inputs.icon = [weak](const AppEntry& entry) -> std::shared_ptr<platform::ui::Image> {
        auto self = weak.lock();
        return self ? self->icon(entry) : nullptr;
    };
    auto menu = AppMenus::allAppsMenu(inputs, menuActions());
    if (state_.strip) platform::ui::Menu::popUp(menu, AppMenus::allAppsLocation(state_.strip->bounds()), state_.strip);
}

void NativeController::menuLaunch(const platform::ui::MenuItem& item) {
    if (auto entry = entryOfItem(item)) launch(*entry);
}

void NativeController::pinAction(const platform::ui::MenuItem& item) {
    if (auto entry = entryOfItem(item)) emit(events::pin(entry->dictionary()));
}

void NativeController::revealAction(const platform::ui::MenuItem& item) {
    if (auto entry = entryOfItem(item); entry && platform::isPath(entry->path))
        platform::workspace().activateFileViewerSelecting({entry->path});
}

void NativeController::settingsAction() { emit(events::settings()); }

void NativeController::quitAction() { emit(events::quit()); }

}  // namespace orvane
