#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "model/AppEntry.h"
#include "controller/EventQueue.h"
#include "controller/ExtrasDetection.h"
#include "dock/DockMaintenance.h"
#include "platform/RunLoop.h"
#include "platform/Workspace.h"
#include "strip/AppMenus.h"
#include "strip/HoverCard.h"
#include "strip/StripOwner.h"
#include "strip/StripPlacement.h"

namespace platform::ui {
class Image;
class MenuItem;
class StatusItem;
class Window;
}  // namespace platform::ui

namespace orvane {

class SettingsController;
class StripView;

// The one long-lived object behind the menu-bar strip: it holds the host's
// configuration, owns the status item, the strip, the centred panel and the
// event queue, recomputes what the strip shows whenever the desktop changes,
// and tears everything down in stop(). It owns the hover card, which asks
// it through HoverCard::Owner for what it shows. Main thread only; every
// callback it hands out holds it weakly.
class NativeController : public StripOwner,
                         public HoverCard::Owner,
                         public std::enable_shared_from_this<NativeController> {
public:
    static constexpr double statusItemLength = 40;
    static constexpr double centeredStatusItemLength = StripPlacement::centeredItemLength;
    static constexpr double stripInitialWidth = 40;
    static constexpr double stripInitialHeight = 24;
    static constexpr unsigned centerPanelStyleMask = 128;
    static constexpr int centerPanelLevel = 26;
    static constexpr unsigned centerPanelCollectionBehavior = 273;
    static constexpr double timerInterval = 5.0;
    static constexpr const char* managerAutosaveName = "OrvaneManager";

    // Controllers live in a shared_ptr: callbacks and the strip refer to them weakly.
    static std::shared_ptr<NativeController> create();
    NativeController();
    // Runs stop() when the controller was started and not stopped, so a
    // controller replaced without stop leaves nothing behind in the menu bar.
    ~NativeController() override;
    NativeController(const NativeController&) = delete;
    NativeController& operator=(const NativeController&) = delete;

    // Life cycle.
    void start();
    void configure(const nlohmann::json& configuration);
    void stop();

    // Entries and detection.
    void refresh(bool force) override;
    void scanExtras();
    // After a permission check: recompute, then scan.
    void permissionFollowUp();

    // Host-facing state.
    nlohmann::json snapshot();
    nlohmann::json drainEvents();
    void emit(nlohmann::json record) override;
    void emitError(const std::string& message);

    // Application actions and menus.
    void launch(const AppEntry& entry) override;
    void all() override;
    void contextMenu(const AppEntry& entry, const platform::ui::Event& event) override;
    platform::RunningApp appRunning(const AppEntry& entry) override;
    std::shared_ptr<platform::ui::Image> icon(const AppEntry& entry) override;
    void menuLaunch(const platform::ui::MenuItem& item);
    void pinAction(const platform::ui::MenuItem& item);
    void revealAction(const platform::ui::MenuItem& item);
    void settingsAction();
    void quitAction();
    void allAction() { all(); }

    // Hover card.
    void beginHover(const AppEntry& entry, platform::Rect rect) override;
    void leaveHover() override;
    void closeCard() override;
    // Shows the card of entries[index] at once, anchored at its slot even
    // when that slot is scrolled out of view; nothing for an index out of range.
    void hover(long long index);
    // The host's screen-recording re-check finished: an open card reloads
    // when it succeeded, and the host hears the result.
    void screenProbeFinished(bool granted);
    HoverCard& hoverCard() const { return *card_; }

    // Commands of the host.
    void scroll(long long step);
    void dockSuspend() { dockPersistent_ = false; }
    void setAppearance(bool dark);
    void capture(const std::string& directory);
    // Opens the acceptance test window and the card of this process's own
    // application at the first slot; nothing outside acceptance mode or without a strip.
    void qaSelfPreview();

    // State, for the strip, the bridge and tests.
    const std::vector<AppEntry>& entries() const override { return entries_; }
    int maxIcons() const override { return maxIcons_; }
    bool centered() const override { return centered_; }
    std::shared_ptr<platform::ui::Window> centerPanel() const override { return centerPanel_; }
    std::shared_ptr<platform::ui::StatusItem> item() const override { return item_; }
    bool pendingRefresh() const override { return pendingRefresh_; }

    bool qaMode() const { return qaMode_; }
    void setQaMode(bool qaMode) { qaMode_ = qaMode; }
    bool dockPersistent() const { return dockPersistent_; }
    const std::string& dockError() const { return dockMaintenance_.dockError(); }
    const std::shared_ptr<StripView>& strip() const { return strip_; }
    const std::string& lastAction() const { return lastAction_; }
    const std::vector<AppEntry>& pinned() const { return pinned_; }
    const std::vector<std::string>& hidden() const { return hidden_; }
    const std::vector<platform::RunningApp>& running() const { return running_; }
    bool showRunning() const { return showRunning_; }
    bool autoDedup() const { return autoDedup_; }
    const Detections& detections() const { return detections_; }
    bool scanning() const { return scanning_; }
    std::uint64_t detectionEpoch() const { return detectionEpoch_; }
    const std::shared_ptr<platform::ui::Window>& qaPreviewWindow() const { return qaPreviewWindow_; }
    SettingsController& settings() const { return *settings_; }
    // The settings window, nothing until it has been made.
    std::shared_ptr<platform::ui::Window> settingsWindow() const;
    std::size_t queuedEvents() const { return events_.size(); }

private:
    std::shared_ptr<StripView> stripView() const override;

    enum class Notification { launch, terminate, activate, unhide, wake, spaceChange };

    void handleWorkspaceNotification(Notification notification);
    void handleScreenParameters();
    void tick();
    void switchCentered(bool centered);
    void enterCentered();
    void leaveCentered();
    void bumpDetectionEpoch();
    // One keep-hidden check of the Dock; a new failure becomes an error event.
    void maintainDock();
    dock::DockMaintenance::ErrorSink dockErrorSink();
    void finishScan(std::uint64_t epoch, Detections result);
    AppMenuActions menuActions();

    // Fields in the order the controller's state is described.
    bool qaMode_ = false;
    std::shared_ptr<platform::ui::Window> qaPreviewWindow_;
    bool dockPersistent_ = false;
    // Keeps the Dock hidden and remembers the last failure (dockError).
    dock::DockMaintenance dockMaintenance_;
    std::shared_ptr<platform::ui::StatusItem> item_;
    std::shared_ptr<StripView> strip_;
    bool centered_ = false;
    std::shared_ptr<platform::ui::Window> centerPanel_;
    std::string lastAction_;
    std::vector<AppEntry> pinned_;
    std::vector<AppEntry> entries_;
    std::vector<std::string> hidden_;
    std::vector<platform::RunningApp> running_;
    int maxIcons_ = 5;
    bool showRunning_ = true;
    bool autoDedup_ = true;
    Detections detections_;
    EventQueue events_;
    std::map<std::string, std::shared_ptr<platform::ui::Image>> images_;
    std::vector<platform::ObserverToken> observerTokens_;
    platform::Timer timer_;
    bool scanning_ = false;
    std::shared_ptr<HoverCard> card_;
    // Made with the controller and kept for its whole life; its model's
    // events reach the queue from start on.
    std::shared_ptr<SettingsController> settings_;
    bool pendingRefresh_ = false;
    std::uint64_t detectionEpoch_ = 0;

    // Set by stop(): late notifications, ticks and scan results then do nothing.
    bool stopped_ = false;
};

}  // namespace orvane
