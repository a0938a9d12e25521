#include "preview/WindowCaptureJob.h"

#include "platform/ui/Bitmap.h"
#include "platform/ui/Image.h"
#include "preview/CapturableWindows.h"
#include "preview/PreviewTexts.h"
#include "preview/ScreenCaptureAccess.h"
#include "preview/WindowPreviewGeometry.h"

namespace orvane {

std::shared_ptr<WindowCaptureJob> WindowCaptureJob::start(std::weak_ptr<Sink> sink, std::int32_t pid,
                                                          std::optional<std::string> bundleID) {
    auto job = std::make_shared<WindowCaptureJob>(std::move(sink), pid, std::move(bundleID));
    job->cycle();
    return job;
}

platform::CaptureConfiguration WindowCaptureJob::configurationFor(platform::Size frameSize) {
    const platform::Size pixels = WindowPreviewGeometry::pixelSize(frameSize);
    platform::CaptureConfiguration configuration;
    configuration.width = static_cast<int>(pixels.width);
    configuration.height = static_cast<int>(pixels.height);
    configuration.scalesToFit = true;
    configuration.showsCursor = false;
    configuration.ignoreShadowsSingleWindow = true;
    configuration.includeChildWindows = true;
    return configuration;
}

void WindowCaptureJob::cancel() {
    cancelled_ = true;
    if (pause_) pause_->cancel();
}

void WindowCaptureJob::cycle() {
    if (cancelled_ || card_.expired()) return;
    std::weak_ptr<WindowCaptureJob> weak = weak_from_this();
    // Minimised windows and windows on other spaces are listed too.
    platform::screenCapture().shareableContent(
        /*excludingDesktopWindows=*/true, /*onScreenWindowsOnly=*/false, [weak](platform::ShareableContent content) {
            if (auto self = weak.lock()) self->listed(std::move(content));
        });
}

void WindowCaptureJob::listed(platform::ShareableContent content) {
    if (content.error) return fail(*content.error);
    auto card = card_.lock();
    if (cancelled_ || !card) return;

    auto& capture = platform::screenCapture();
    const auto chosen = card->listed(capturableWindows(content.windows, pid_, bundleID_, capture.onScreenWindowOrder()));
    if (!chosen) {
        card->unavailable(previewTexts::noWindow, previewTexts::noWindowMessage);
        return pause(pauseWithoutWindow);
    }
    const platform::ShareableWindow window = *chosen;

    const platform::CaptureConfiguration configuration = configurationFor(window.frame.size);

    std::weak_ptr<WindowCaptureJob> weak = weak_from_this();
    capture.captureWindow(window.windowID, configuration, [weak, window](platform::CaptureResult result) {
        if (auto self = weak.lock()) self->captured(std::move(result), window);
    });
}

void WindowCaptureJob::captured(platform::CaptureResult result, const platform::ShareableWindow& window) {
    if (result.error) return fail(*result.error);
    auto card = card_.lock();
    if (cancelled_ || !card) return;
    if (!result.image) return fail({});

    // A capture that succeeded proves the permission in force for this process.
    ScreenCaptureAccess::setConfirmedByCapture(true);
    const platform::Size pixels{static_cast<double>(result.image->pixelsWide()),
                                static_cast<double>(result.image->pixelsHigh())};
    card->captured(platform::ui::Image::withBitmap(std::move(result.image), window.frame.size), pixels, window);
    pause(pauseAfterImage);
}

// The job ends here: the card waits for the user (re-check, selection,
// activation, the host's re-check) to start a new one.
void WindowCaptureJob::fail(const platform::Error& error) {
    auto card = card_.lock();
    if (cancelled_ || !card) return;
    if (error.domain == platform::screenCaptureError::streamDomain &&
        error.code == platform::screenCaptureError::userDeclined) {
        ScreenCaptureAccess::setConfirmedByCapture(false);
        card->unavailable(previewTexts::permissionRequired, previewTexts::captureDeclinedMessage);
    } else {
        card->unavailable(previewTexts::unavailable, previewTexts::unavailableMessage);
    }
    ScreenCaptureAccess::setLastError(error.description);
}

void WindowCaptureJob::pause(double seconds) {
    std::weak_ptr<WindowCaptureJob> weak = weak_from_this();
    pause_ = platform::runLoop().after(seconds, [weak] {
        if (auto self = weak.lock()) self->cycle();
    });
}

}  // namespace orvane
