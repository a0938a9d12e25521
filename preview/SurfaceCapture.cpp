#include "preview/SurfaceCapture.h"

#include "platform/Files.h"
#include "platform/ScreenCapture.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "preview/WindowSnapshotJob.h"

namespace orvane {

std::string captureFilePath(const std::string& directory, const std::string& fileName) {
    if (!directory.empty() && directory.back() == '/') return directory + fileName;
    return directory + "/" + fileName;
}

bool writeViewPNG(platform::ui::View& view, const std::string& path) {
    auto bounds = view.bounds();
    auto bitmap = view.bitmapForCachingDisplay(bounds);
    if (!bitmap) return false;
    view.cacheDisplay(bounds, *bitmap);
    auto png = bitmap->pngData();
    if (png.empty()) return false;
    return platform::files().writeFile(path, png);
}

// The controller's own evidence of the permission is not asked: the system's
// preflight alone decides whether the window is captured.
void captureWindowSurface(const platform::ui::Window& window, const std::string& directory, const std::string& fileName) {
    if (const auto& content = window.contentView()) writeViewPNG(*content, captureFilePath(directory, fileName));
    if (!platform::screenCapture().preflight()) return;
    WindowSnapshotJob::start(window.windowNumber(), directory, fileName);
}

}  // namespace orvane
