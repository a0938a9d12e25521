// Runs on the main run loop: start() asks for the listing, listed() for the
// capture, captured() writes the file. Each completion holds the job
// strongly, since nothing else does; the service answers every request once.

#include "preview/WindowSnapshotJob.h"

#include <cmath>
#include <limits>

#include "platform/Files.h"
#include "platform/Utf8.h"
#include "platform/ui/Bitmap.h"
#include "preview/SurfaceCapture.h"

namespace orvane {
namespace {

// Points to whole pixels, cut towards zero. A size that is not a number or
// is negative gives 0 and one beyond the integers their largest, so that the
// service refuses it with an error instead of the conversion going wrong.
int pixels(double points) {
    const double value = std::trunc(points * WindowSnapshotJob::pixelsPerPoint);
    if (!(value > 0)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

// Exactly twice the window's size, the cursor and the shadow left out,
// nothing scaled; the child-window option is left alone.
platform::CaptureConfiguration configuration(platform::Rect frame) {
    platform::CaptureConfiguration configuration;
    configuration.width = pixels(frame.width());
    configuration.height = pixels(frame.height());
    configuration.scalesToFit = false;
    configuration.showsCursor = false;
    configuration.ignoreShadowsSingleWindow = true;
    configuration.includeChildWindows = std::nullopt;
    return configuration;
}

}  // namespace

void WindowSnapshotJob::start(int windowNumber, std::string directory, std::string fileName) {
    auto job = std::make_shared<WindowSnapshotJob>(windowNumber, std::move(directory), std::move(fileName));
    platform::screenCapture().shareableContent(
        /*excludingDesktopWindows=*/true, /*onScreenWindowsOnly=*/true,
        [job](platform::ShareableContent content) { job->listed(content); });
}

void WindowSnapshotJob::listed(const platform::ShareableContent& content) {
    if (content.error) return writeError(*content.error);
    for (const auto& window : content.windows) {
        if (static_cast<long long>(window.windowID) != windowNumber_) continue;
        auto self = shared_from_this();
        platform::screenCapture().captureWindow(window.windowID, configuration(window.frame),
                                                [self](platform::CaptureResult result) { self->captured(result); });
        return;
    }
    // The window left the screen (closed, hidden) before the listing: nothing to save.
}

void WindowSnapshotJob::captured(const platform::CaptureResult& result) {
    if (result.error) return writeError(*result.error);
    if (!result.image) return;
    const std::string png = result.image->pngData();
    if (png.empty()) return;
    platform::files().writeFile(captureFilePath(directory_, fileName_), png);
}

void WindowSnapshotJob::writeError(const platform::Error& error) const {
    platform::files().writeFileAtomically(captureFilePath(directory_, captureFile::error),
                                          platform::repairUtf8(error.description));
}

}  // namespace orvane
