#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/RunLoop.h"
#include "platform/ScreenCapture.h"

namespace platform::ui {
class Image;
}

namespace orvane {

// The card's capture loop: lists the application's windows, orders them
// front to back, captures the selected one, shows it, waits 0.75 s and
// starts over (1.0 s when there is no window). A failure shows its state
// on the card and ends the loop. Each step runs on the main run loop
// between waits that do not block it, and checks for cancellation after
// every wait. The card owns the job; the job holds the card weakly, and the
// platform's completions hold the job weakly, so closing the card ends
// everything at once.
class WindowCaptureJob : public std::enable_shared_from_this<WindowCaptureJob> {
public:
    static constexpr double pauseAfterImage = 0.75;
    static constexpr double pauseWithoutWindow = 1.0;

    // What the job tells the card it fills.
    class Sink {
    public:
        virtual ~Sink() = default;
        // The application's windows this cycle listed, front to back; gives
        // the one to capture, nothing when there is none.
        virtual std::optional<platform::ShareableWindow> listed(std::vector<platform::ShareableWindow> windows) = 0;
        // A state without an image, with message as the placeholder.
        virtual void unavailable(const std::string& state, const std::string& message) = 0;
        // A capture of window arrived, pixels in size.
        virtual void captured(std::shared_ptr<platform::ui::Image> image, platform::Size pixels,
                              const platform::ShareableWindow& window) = 0;
    };

    // Creates the job for the windows of the process pid, or of any process
    // of its bundle when bundleID is known, and begins its first cycle.
    static std::shared_ptr<WindowCaptureJob> start(std::weak_ptr<Sink> sink, std::int32_t pid,
                                                   std::optional<std::string> bundleID);
    // Use start(): the job needs a shared owner before its first wait.
    WindowCaptureJob(std::weak_ptr<Sink> sink, std::int32_t pid, std::optional<std::string> bundleID)
        : card_(std::move(sink)), pid_(pid), bundleID_(std::move(bundleID)) {}

    // How one still of a window with that frame size is asked for: at the
    // card's pixel size, fitted, without the cursor or the window's shadow.
    static platform::CaptureConfiguration configurationFor(platform::Size frameSize);

    // Ends the job at its next step; a pending pause is cancelled at once.
    void cancel();
    bool isCancelled() const { return cancelled_; }

private:
    void cycle();
    void listed(platform::ShareableContent content);
    void captured(platform::CaptureResult result, const platform::ShareableWindow& window);
    void fail(const platform::Error& error);
    void pause(double seconds);

    std::weak_ptr<Sink> card_;
    std::int32_t pid_;
    std::optional<std::string> bundleID_;
    bool cancelled_ = false;
    platform::Job pause_;
};

}  // namespace orvane
