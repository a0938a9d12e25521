#include "controller/NativeController.h"

#include "controller/Configuration.h"
#include "controller/ControllerTexts.h"
#include "controller/EntryRefresh.h"
#include "platform/Accessibility.h"
#include "platform/Application.h"
#include "platform/Json.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/Window.h"
#include "settings/SettingsController.h"
#include "settings/SettingsModel.h"
#include "model/Brand.h"
#include "strip/StripTexts.h"
#include "strip/StripView.h"

namespace orvane {

namespace ui = platform::ui;

std::shared_ptr<NativeController> NativeController::create() { return std::make_shared<NativeController>(); }

NativeController::NativeController() : card_(HoverCard::create(*this)), settings_(SettingsController::create()) {}

NativeController::~NativeController() {
    if (!stopped_ && (state_.item || timer_ || !observerTokens_.empty())) stop();
}

void NativeController::start() {
    if (state_.item) return;
    stopped_ = false;
    std::weak_ptr<NativeController> weak = weak_from_this();

    state_.item = ui::systemStatusBar().statusItem(statusItemLength);
    state_.strip = StripView::create(std::weak_ptr<StripOwner>(weak_from_this()),
                               platform::Rect(0, 0, stripInitialWidth, stripInitialHeight));
    state_.item->setView(state_.strip);

    const std::pair<const char*, Notification> workspaceNotifications[] = {
        {platform::notification::didLaunchApplication, Notification::launch},
        {platform::notification::didTerminateApplication, Notification::terminate},
        {platform::notification::didActivateApplication, Notification::activate},
        {platform::notification::didUnhideApplication, Notification::unhide},
        {platform::notification::didWake, Notification::wake},
        {platform::notification::activeSpaceDidChange, Notification::spaceChange},
    };
    auto& center = platform::workspace().notificationCenter();
    for (const auto& [name, notification] : workspaceNotifications) {
        observerTokens_.push_back(center.addObserver(name, [weak, notification = notification](const std::string&) {
            if (auto self = weak.lock()) self->handleWorkspaceNotification(notification);
        }));
    }
    observerTokens_.push_back(platform::defaultNotificationCenter().addObserver(
        platform::notification::screenParametersDidChange, [weak](const std::string&) {
            if (auto self = weak.lock()) self->handleScreenParameters();
        }));

    timer_ = platform::runLoop().every(timerInterval, [weak] {
        if (auto self = weak.lock()) self->tick();
    });

    settings_->model().setEmit([weak](const nlohmann::json& record) {
        if (auto self = weak.lock()) self->emit(record);
    });

    refresh(true);
}

void NativeController::configure(const nlohmann::json& configuration) {
    // The card may stand for an entry or a slot the new configuration moves or drops.
    closeCard();
    bumpDetectionEpoch();
    state_.detections.clear();

    auto config = Configuration::read(configuration);
    state_.dockPersistent = config.dockPersistent && !state_.qaMode;
    state_.pinned = std::move(config.pinned);
    state_.maxIcons = config.maxIcons;
    state_.showRunning = config.showRunning;
    state_.autoDedup = config.autoDedup;

    if (config.centered != state_.centered) switchCentered(config.centered);
    // The ids may be unchanged while the records behind them changed (a
    // running app pinned under another name, path or policy): the buttons
    // hold the records they were built from, so they are built again.
    if (state_.strip) state_.strip->setControlSignature("");

    refresh(true);
    scanExtras();
    maintainDock();
}

void NativeController::switchCentered(bool centered) {
    state_.centered = centered;
    closeCard();
    if (!state_.strip) return;
    if (centered)
        enterCentered();
    else
        leaveCentered();
    state_.strip->setControlSignature("");
    state_.strip->resize();
}

void NativeController::enterCentered() {
    std::weak_ptr<NativeController> weak = weak_from_this();
    if (state_.item) {
        state_.item->setView(nullptr);
        state_.item->setLength(centeredStatusItemLength);
        if (auto button = state_.item->button()) {
            button->setImage(Brand::menuImage());
            button->setAccessibilityLabel(std::string(Brand::name) + texts::managerButtonLabelSuffix);
            button->setAction("allAction", [weak] {
                if (auto self = weak.lock()) self->all();
            });
        }
        state_.item->setAutosaveName(managerAutosaveName);
    }
    if (!state_.centerPanel) {
        state_.centerPanel = ui::Window::create(state_.strip->frame(), centerPanelStyleMask, ui::backing::buffered, false);
        state_.centerPanel->setTitle(std::string(Brand::name) + texts::centerPanelTitleSuffix);
        state_.centerPanel->setOpaque(false);
        state_.centerPanel->setClearBackground(true);
        state_.centerPanel->setHasShadow(false);
        state_.centerPanel->setLevel(centerPanelLevel);
        state_.centerPanel->setCollectionBehavior(centerPanelCollectionBehavior);
        state_.centerPanel->setHidesOnDeactivate(false);
    }
    state_.centerPanel->setContentView(state_.strip);
}

void NativeController::leaveCentered() {
    if (state_.centerPanel) {
        state_.centerPanel->setContentView(nullptr);
        state_.centerPanel->orderOut();
    }
    if (state_.item) state_.item->setView(state_.strip);
}

void NativeController::stop() {
    stopped_ = true;
    if (timer_) timer_->cancel();
    if (state_.qaPreviewWindow) state_.qaPreviewWindow->orderOut();
    closeCard();
    settings_->hide();
    if (state_.strip) state_.strip->stopScrollTransition();
    if (state_.centerPanel) state_.centerPanel->setContentView(nullptr);
    if (state_.item) state_.item->setView(nullptr);
    for (const auto& token : observerTokens_) {
        platform::workspace().notificationCenter().removeObserver(token);
        platform::defaultNotificationCenter().removeObserver(token);
    }
    observerTokens_.clear();
    if (state_.item) ui::systemStatusBar().removeStatusItem(state_.item);
    state_.item.reset();
    if (state_.centerPanel) state_.centerPanel->orderOut();
    state_.centerPanel.reset();
    state_.strip.reset();
}

void NativeController::handleWorkspaceNotification(Notification notification) {
    if (stopped_) return;
    bool invalidates = notification == Notification::launch || notification == Notification::terminate ||
                       notification == Notification::wake || notification == Notification::spaceChange;
    if (invalidates) {
        bumpDetectionEpoch();
        state_.detections.clear();
    }
    refresh(false);
    closeCard();
    scanExtras();
    if (notification == Notification::wake) maintainDock();
    if (notification == Notification::launch) dockMaintenance_.applicationLaunched(state_.dockPersistent, state_.qaMode, dockErrorSink());
}

void NativeController::handleScreenParameters() {
    if (stopped_) return;
    closeCard();
    refresh(true);
}

void NativeController::tick() {
    if (stopped_) return;
    refresh(false);
    scanExtras();
    maintainDock();
}

void NativeController::maintainDock() { dockMaintenance_.maintainDock(state_.dockPersistent, state_.qaMode, dockErrorSink()); }

dock::DockMaintenance::ErrorSink NativeController::dockErrorSink() {
    return [this](const std::string& message) { emitError(message); };
}

void NativeController::bumpDetectionEpoch() { state_.detectionEpoch = nextEpoch(state_.detectionEpoch); }

void NativeController::refresh(bool force) {
    EntryInputs inputs{state_.pinned, state_.showRunning, state_.autoDedup, state_.detections,
                       platform::application().processIdentifier(),
                       [] { return platform::accessibility().isTrusted(false); }};
    auto computed = computeEntries(platform::workspace().runningApplications(), inputs);
    state_.running = std::move(computed.running);
    state_.hidden = std::move(computed.hidden);

    bool same = sameIdSequence(computed.entries, state_.entries);
    if (state_.strip && state_.strip->pointerInside() && !force && !same) {
        state_.pendingRefresh = true;
        state_.strip->setNeedsDisplay();
        return;
    }
    state_.pendingRefresh = false;
    if (!same) closeCard();
    state_.entries = std::move(computed.entries);
    if (state_.strip) {
        state_.strip->resize();
        state_.strip->setNeedsDisplay();
    }
}

void NativeController::permissionFollowUp() {
    refresh(false);
    scanExtras();
}

void NativeController::scroll(long long step) {
    if (state_.strip) state_.strip->scroll(step);
}

void NativeController::setAppearance(bool dark) {
    if (!state_.strip) return;
    auto appearance = dark ? ui::AppearanceName::darkAqua : ui::AppearanceName::aqua;
    state_.strip->setAppearance(appearance);
    state_.strip->setNeedsDisplay();
    if (auto window = settingsWindow()) window->setAppearance(appearance);
    if (const auto& card = card_->window()) card->setAppearance(appearance);
}

}  // namespace orvane
