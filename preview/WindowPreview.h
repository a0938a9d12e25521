#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "platform/ScreenCapture.h"
#include "platform/Workspace.h"
#include "platform/ui/VisualEffectView.h"
#include "preview/PreviewLayout.h"
#include "preview/WindowCaptureJob.h"

namespace platform::ui {
class Button;
class Image;
class ImageView;
class Label;
}  // namespace platform::ui

namespace orvane {

class PreviewImageView;

// The hover card's content: the application's icon, name and running status
// in a header; a live image of one of its windows in a rounded viewport,
// or the reason there is none; and a footer with the window's position and
// title and the previous/next buttons, or the buttons that may help. It owns
// the capture job that keeps the image fresh while it is shown. Main thread
// only; everything it hands out holds it weakly.
class WindowPreview : public platform::ui::VisualEffectView, public WindowCaptureJob::Sink {
public:
    static constexpr double cornerRadius = 13.0;
    static constexpr double viewportCornerRadius = 8.0;
    static constexpr double viewportBackgroundAlpha = 0.55;
    static constexpr double slideDistance = 14.0;
    static constexpr double transitionDuration = 0.22;
    static constexpr double reducedMotionDuration = 0.08;

    // How the card reaches its owner. Fixed at construction.
    struct Callbacks {
        std::function<void()> open;               // open or switch to the application
        std::function<void()> entered;            // the pointer entered the card
        std::function<void()> left;               // the pointer left the card
        std::function<void()> requestPermission;  // the permission settings were asked for
        std::function<void()> relaunch;           // reopening the host application was asked for
        std::function<void(platform::Size)> resizeCard;  // the card's size changed
    };

    // pid is the running application's process and bundleID its bundle's
    // identifier, nothing when it is not running or has none.
    static std::shared_ptr<WindowPreview> create(std::string name, std::shared_ptr<platform::ui::Image> icon,
                                                 std::optional<std::int32_t> pid, std::optional<std::string> bundleID,
                                                 bool active, Callbacks callbacks);
    ~WindowPreview() override;

    // (Re)starts capturing: at most one capture job runs per card.
    void start();
    // Stops for good: the job ends, both images go, nothing restarts the card.
    void stop();
    // Moves the selection by step windows; nothing past either end.
    void select(long long step);

    void openAction();
    void permissionAction();
    void retryAction();
    void reopenAction();
    void previousAction() { select(-1); }
    void nextAction() { select(1); }

    void updateLayout();
    // Shows a state without an image, with message as the placeholder.
    void unavailable(const std::string& state, const std::string& message) override;
    // Shows a captured image of window, sliding it in when the window changed.
    void present(std::shared_ptr<platform::ui::Image> image, const platform::ShareableWindow& window);
    // The snapshot's "preview".
    nlohmann::json report() const;

    void updateTrackingAreas() override;
    void mouseEntered(const platform::ui::Event& event) override;
    void mouseExited(const platform::ui::Event& event) override;

    // From the capture job: the selection stays on its window while that is
    // listed, else moves to the frontmost.
    std::optional<platform::ShareableWindow> listed(std::vector<platform::ShareableWindow> windows) override;
    void captured(std::shared_ptr<platform::ui::Image> image, platform::Size pixels,
                  const platform::ShareableWindow& window) override;

    // State.
    const std::optional<std::int32_t>& pid() const { return pid_; }
    const std::optional<std::string>& bundleID() const { return bundleID_; }
    const std::vector<platform::ShareableWindow>& windows() const { return windows_; }
    const std::optional<std::uint32_t>& selectedID() const { return selectedID_; }
    const std::optional<std::uint32_t>& displayedID() const { return displayedID_; }
    const std::string& previewState() const { return previewState_; }
    platform::Size pixels() const { return pixels_; }
    long long imageFrames() const { return imageFrames_; }
    int transitionDirection() const { return transitionDirection_; }
    std::uint64_t animationEpoch() const { return animationEpoch_; }
    bool isStopped() const { return stopped_; }
    bool isSwitching() const { return isSwitching_; }
    const std::shared_ptr<WindowCaptureJob>& task() const { return task_; }
    // The position of the selected window; 0 when it is absent or gone.
    std::size_t index() const;
    PreviewLayout cardLayout() const;

    // Views.
    const std::shared_ptr<PreviewImageView>& imageView() const { return imageView_; }
    const std::shared_ptr<platform::ui::ImageView>& outgoingImage() const { return outgoingImage_; }
    const std::shared_ptr<platform::ui::View>& viewport() const { return viewport_; }
    const std::shared_ptr<platform::ui::ImageView>& appIcon() const { return appIcon_; }
    const std::shared_ptr<platform::ui::Label>& title() const { return title_; }
    const std::shared_ptr<platform::ui::Label>& status() const { return status_; }
    const std::shared_ptr<platform::ui::Button>& openButton() const { return openButton_; }
    const std::shared_ptr<platform::ui::Label>& placeholder() const { return placeholder_; }
    const std::shared_ptr<platform::ui::Label>& caption() const { return caption_; }
    const std::shared_ptr<platform::ui::Button>& permission() const { return permission_; }
    const std::shared_ptr<platform::ui::Button>& retry() const { return retry_; }
    const std::shared_ptr<platform::ui::Button>& reopen() const { return reopen_; }
    const std::shared_ptr<platform::ui::Button>& previous() const { return previous_; }
    const std::shared_ptr<platform::ui::Button>& next() const { return next_; }

    // Use create(): the card needs a shared owner of its own for its callbacks.
    WindowPreview(std::optional<std::int32_t> pid, std::optional<std::string> bundleID, Callbacks callbacks);

private:
    std::weak_ptr<WindowPreview> weakSelf();
    void buildViews(const std::string& name, std::shared_ptr<platform::ui::Image> icon, bool active);
    void observeActivation();
    void removeObserver();
    // Enables previous exactly when a window precedes the selection and next
    // exactly when one follows it.
    void enableStepButtons();
    void setStepButtonsEnabled(bool previous, bool next);
    void transition(const std::shared_ptr<platform::ui::Image>& oldImage);
    void finishTransition(std::uint64_t epoch);

    // Views, bottom to top as the card stacks them.
    std::shared_ptr<PreviewImageView> imageView_;
    std::shared_ptr<platform::ui::ImageView> outgoingImage_;
    std::shared_ptr<platform::ui::View> viewport_;
    std::shared_ptr<platform::ui::ImageView> appIcon_;
    std::shared_ptr<platform::ui::Label> title_;
    std::shared_ptr<platform::ui::Label> status_;
    std::shared_ptr<platform::ui::Button> openButton_;
    std::shared_ptr<platform::ui::Label> placeholder_;
    std::shared_ptr<platform::ui::Label> caption_;
    std::shared_ptr<platform::ui::Button> permission_;
    std::shared_ptr<platform::ui::Button> retry_;
    std::shared_ptr<platform::ui::Button> reopen_;
    std::shared_ptr<platform::ui::Button> previous_;
    std::shared_ptr<platform::ui::Button> next_;

    std::optional<std::int32_t> pid_;
    std::optional<std::string> bundleID_;
    const Callbacks callbacks_;
    std::shared_ptr<WindowCaptureJob> task_;
    std::optional<platform::ObserverToken> observer_;
    std::vector<platform::ShareableWindow> windows_;
    std::optional<std::uint32_t> selectedID_;
    std::optional<std::uint32_t> displayedID_;
    platform::Size displayedSize_{16.0, 10.0};
    std::string previewState_;
    platform::Size pixels_;
    long long imageFrames_ = 0;
    long long transitionCount_ = 0;
    int transitionDirection_ = 0;
    std::uint64_t animationEpoch_ = 0;
    bool stopped_ = false;
    bool isSwitching_ = false;
    // A step was asked for and its picture has not started a transition yet.
    bool stepAwaitsPicture_ = false;
};

}  // namespace orvane
