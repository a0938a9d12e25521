#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "model/AppEntry.h"
#include "controller/ControllerState.h"
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

class JsonOutput;
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

    // Commands of the host. The snapshot is described once, written into an
    // output: the reply's text, or a tree for the callers that read it.
    void writeSnapshot(JsonOutput& out);
    nlohmann::json snapshot();
    nlohmann::json drainEvents();
    void launch(const AppEntry& entry) override;
    void all() override;
    // Shows the card of entries[index] at once, anchored at its slot even
    // when that slot is scrolled out of view; nothing for an index out of range.
    void hover(long long index);
    void closeCard() override;
    void scroll(long long step);
    void dockSuspend() { state_.dockPersistent = false; }
    void setAppearance(bool dark);
    void capture(const std::string& directory);
    void setQaMode(bool qaMode) { state_.qaMode = qaMode; }
    // Opens the acceptance test window and the card of this process's own
    // application at the first slot; nothing outside acceptance mode or without a strip.
    void qaSelfPreview();
    // After a permission check: recompute, then scan.
    void permissionFollowUp();
    // The host's screen-recording re-check finished: an open card reloads
    // when it succeeded, and the host hears the result.
    void screenProbeFinished(bool granted);

    // What the controller does on its own, on notifications and its timer.
    void refresh(bool force) override;
    void scanExtras();

    // What it holds, and its parts.
    const ControllerState& state() const { return state_; }
    const std::string& dockError() const { return dockMaintenance_.dockError(); }
    std::size_t queuedEvents() const { return events_.size(); }
    HoverCard& hoverCard() const { return *card_; }
    SettingsController& settings() const { return *settings_; }
    // The settings window, nothing until it has been made.
    std::shared_ptr<platform::ui::Window> settingsWindow() const;

private:
    // What the strip reads and asks (StripOwner).
    const std::vector<AppEntry>& entries() const override { return state_.entries; }
    int maxIcons() const override { return state_.maxIcons; }
    bool centered() const override { return state_.centered; }
    std::shared_ptr<platform::ui::Window> centerPanel() const override { return state_.centerPanel; }
    std::shared_ptr<platform::ui::StatusItem> item() const override { return state_.item; }
    bool pendingRefresh() const override { return state_.pendingRefresh; }
    void beginHover(const AppEntry& entry, platform::Rect rect) override;
    void leaveHover() override;
    void contextMenu(const AppEntry& entry, const platform::ui::Event& event) override;
    platform::RunningApp appRunning(const AppEntry& entry) override;
    std::shared_ptr<platform::ui::Image> icon(const AppEntry& entry) override;

    // What the card asks (HoverCard::Owner).
    std::shared_ptr<StripView> stripView() const override;
    void emit(nlohmann::json record) override;

    void emitError(const std::string& message);

    // The menus' actions; each rebuilds the entry from the item it was chosen on.
    void menuLaunch(const platform::ui::MenuItem& item);
    void pinAction(const platform::ui::MenuItem& item);
    void revealAction(const platform::ui::MenuItem& item);
    void settingsAction();
    void quitAction();
    AppMenuActions menuActions();

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

    ControllerState state_;
    // Keeps the Dock hidden and remembers the last failure (dockError).
    dock::DockMaintenance dockMaintenance_;
    EventQueue events_;
    std::map<std::string, std::shared_ptr<platform::ui::Image>> images_;
    std::vector<platform::ObserverToken> observerTokens_;
    platform::Timer timer_;
    std::shared_ptr<HoverCard> card_;
    // Made with the controller and kept for its whole life; its model's
    // events reach the queue from start on.
    std::shared_ptr<SettingsController> settings_;

    // Set by stop(): late notifications, ticks and scan results then do nothing.
    bool stopped_ = false;
};

}  // namespace orvane
