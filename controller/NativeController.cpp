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
    if (!stopped_ && (item_ || timer_ || !observerTokens_.empty())) stop();
}

void NativeController::start() {
    if (item_) return;
    stopped_ = false;
    std::weak_ptr<NativeController> weak = weak_from_this();

    item_ = ui::systemStatusBar().statusItem(statusItemLength);
    strip_ = StripView::create(std::weak_ptr<StripOwner>(weak_from_this()),
                               platform::Rect(0, 0, stripInitialWidth, stripInitialHeight));
    item_->setView(strip_);

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
    detections_.clear();

    auto config = Configuration::read(configuration);
    dockPersistent_ = config.dockPersistent && !qaMode_;
    pinned_ = std::move(config.pinned);
    maxIcons_ = config.maxIcons;
    showRunning_ = config.showRunning;
    autoDedup_ = config.autoDedup;

    if (config.centered != centered_) switchCentered(config.centered);
    // The ids may be unchanged while the records behind them changed (a
    // running app pinned under another name, path or policy): the buttons
    // hold the records they were built from, so they are built again.
    if (strip_) strip_->setControlSignature("");

    refresh(true);
    scanExtras();
    maintainDock();
}

void NativeController::switchCentered(bool centered) {
    centered_ = centered;
    closeCard();
    if (!strip_) return;
    if (centered)
        enterCentered();
    else
        leaveCentered();
    strip_->setControlSignature("");
    strip_->resize();
}

void NativeController::enterCentered() {
    std::weak_ptr<NativeController> weak = weak_from_this();
    if (item_) {
        item_->setView(nullptr);
        item_->setLength(centeredStatusItemLength);
        if (auto button = item_->button()) {
            button->setImage(Brand::menuImage());
            button->setAccessibilityLabel(std::string(Brand::name) + texts::managerButtonLabelSuffix);
            button->setAction("allAction", [weak] {
                if (auto self = weak.lock()) self->allAction();
            });
        }
        item_->setAutosaveName(managerAutosaveName);
    }
    if (!centerPanel_) {
        centerPanel_ = ui::Window::create(strip_->frame(), centerPanelStyleMask, ui::backing::buffered, false);
        centerPanel_->setTitle(std::string(Brand::name) + texts::centerPanelTitleSuffix);
        centerPanel_->setOpaque(false);
        centerPanel_->setClearBackground(true);
        centerPanel_->setHasShadow(false);
        centerPanel_->setLevel(centerPanelLevel);
        centerPanel_->setCollectionBehavior(centerPanelCollectionBehavior);
        centerPanel_->setHidesOnDeactivate(false);
    }
    centerPanel_->setContentView(strip_);
}

void NativeController::leaveCentered() {
    if (centerPanel_) {
        centerPanel_->setContentView(nullptr);
        centerPanel_->orderOut();
    }
    if (item_) item_->setView(strip_);
}

void NativeController::stop() {
    stopped_ = true;
    if (timer_) timer_->cancel();
    if (qaPreviewWindow_) qaPreviewWindow_->orderOut();
    closeCard();
    settings_->hide();
    if (strip_) strip_->stopScrollTransition();
    if (centerPanel_) centerPanel_->setContentView(nullptr);
    if (item_) item_->setView(nullptr);
    for (const auto& token : observerTokens_) {
        platform::workspace().notificationCenter().removeObserver(token);
        platform::defaultNotificationCenter().removeObserver(token);
    }
    observerTokens_.clear();
    if (item_) ui::systemStatusBar().removeStatusItem(item_);
    item_.reset();
    if (centerPanel_) centerPanel_->orderOut();
    centerPanel_.reset();
    strip_.reset();
}

void NativeController::handleWorkspaceNotification(Notification notification) {
    if (stopped_) return;
    bool invalidates = notification == Notification::launch || notification == Notification::terminate ||
                       notification == Notification::wake || notification == Notification::spaceChange;
    if (invalidates) {
        bumpDetectionEpoch();
        detections_.clear();
    }
    refresh(false);
    closeCard();
    scanExtras();
    if (notification == Notification::wake) maintainDock();
    if (notification == Notification::launch) dockMaintenance_.applicationLaunched(dockPersistent_, qaMode_, dockErrorSink());
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

void NativeController::maintainDock() { dockMaintenance_.maintainDock(dockPersistent_, qaMode_, dockErrorSink()); }

dock::DockMaintenance::ErrorSink NativeController::dockErrorSink() {
    return [this](const std::string& message) { emitError(message); };
}

void NativeController::bumpDetectionEpoch() { detectionEpoch_ = nextEpoch(detectionEpoch_); }

void NativeController::refresh(bool force) {
    EntryInputs inputs{pinned_, showRunning_, autoDedup_, detections_,
                       platform::application().processIdentifier(),
                       [] { return platform::accessibility().isTrusted(false); }};
    auto computed = computeEntries(platform::workspace().runningApplications(), inputs);
    running_ = std::move(computed.running);
    hidden_ = std::move(computed.hidden);

    bool same = sameIdSequence(computed.entries, entries_);
    if (strip_ && strip_->pointerInside() && !force && !same) {
        pendingRefresh_ = true;
        strip_->setNeedsDisplay();
        return;
    }
    pendingRefresh_ = false;
    if (!same) closeCard();
    entries_ = std::move(computed.entries);
    if (strip_) {
        strip_->resize();
        strip_->setNeedsDisplay();
    }
}

void NativeController::permissionFollowUp() {
    refresh(false);
    scanExtras();
}

void NativeController::scroll(long long step) {
    if (strip_) strip_->scroll(step);
}

void NativeController::setAppearance(bool dark) {
    if (!strip_) return;
    auto appearance = dark ? ui::AppearanceName::darkAqua : ui::AppearanceName::aqua;
    strip_->setAppearance(appearance);
    strip_->setNeedsDisplay();
    if (auto window = settingsWindow()) window->setAppearance(appearance);
    if (const auto& card = card_->window()) card->setAppearance(appearance);
}

}  // namespace orvane
