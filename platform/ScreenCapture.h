#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Error.h"
#include "platform/Geometry.h"

namespace platform {

namespace ui { class Bitmap; }

// The error domain of the platform's screen-capture streams and the code it
// gives when the user declined capture for this process.
namespace screenCaptureError {
inline constexpr const char* streamDomain = "com.apple.ScreenCaptureKit.SCStreamErrorDomain";
inline constexpr long userDeclined = -3801;
}  // namespace screenCaptureError

// The application that owns a shareable window.
struct CaptureApplication {
    int processID = 0;
    std::optional<std::string> bundleIdentifier;
};

// One window as the shareable-content listing describes it. Frames are in
// screen points, bottom-left origin.
struct ShareableWindow {
    std::uint32_t windowID = 0;
    Rect frame;
    long windowLayer = 0;
    std::optional<std::string> title;
    std::optional<CaptureApplication> owningApplication;
};

// What one still capture of a single window is asked to produce.
struct CaptureConfiguration {
    int width = 0;   // pixels
    int height = 0;  // pixels
    bool scalesToFit = false;
    bool showsCursor = true;
    bool ignoreShadowsSingleWindow = false;
    // Nothing: the option is left alone (systems that do not offer it).
    std::optional<bool> includeChildWindows;
};

// The listing's answer: the windows, or the error that stopped it.
struct ShareableContent {
    std::vector<ShareableWindow> windows;
    std::optional<Error> error;
};

// The capture's answer: an image of exactly the configured pixel size, or the error.
struct CaptureResult {
    std::shared_ptr<const ui::Bitmap> image;
    std::optional<Error> error;
};

// The system's screen-recording services: the access preflight and request,
// the shareable-content listing, the on-screen window list and single-window
// screenshots. Completions always arrive later, on the main run loop, never
// inside the call that asked. Main thread only.
class ScreenCapture {
public:
    virtual ~ScreenCapture() = default;

    // Whether the system says this process may record the screen.
    virtual bool preflight() = 0;
    // Asks the system for access (a prompt the first time); returns the preflight afterwards.
    virtual bool request() = 0;
    virtual void shareableContent(bool excludingDesktopWindows, bool onScreenWindowsOnly,
                                  std::function<void(ShareableContent)> completion) = 0;
    // The window numbers of the on-screen windows, front to back, desktop
    // elements excluded, as the system window list gives them (numbers as
    // the list holds them; not every one need fit 32 bits).
    virtual std::vector<std::int64_t> onScreenWindowOrder() = 0;
    // One image of one window, independent of the desktop around it.
    virtual void captureWindow(std::uint32_t windowID, const CaptureConfiguration& configuration,
                               std::function<void(CaptureResult)> completion) = 0;
};

ScreenCapture& screenCapture();

}  // namespace platform
