#include "controller/Capture.h"

#include "controller/NativeController.h"
#include "platform/Files.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "settings/SettingsController.h"
#include "strip/StripView.h"

namespace orvane {

namespace {
constexpr const char* stripFileName = "strip.png";
constexpr const char* settingsFileName = "settings.png";
}

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

// The folder must exist: an empty or missing one gets nothing, rather than
// files written somewhere else.
void NativeController::capture(const std::string& directory) {
    if (directory.empty() || !platform::files().exists(directory)) return;
    if (strip_) writeViewPNG(*strip_, captureFilePath(directory, stripFileName));
    if (auto window = settingsWindow(); window && window->contentView())
        writeViewPNG(*window->contentView(), captureFilePath(directory, settingsFileName));
}

std::shared_ptr<platform::ui::Window> NativeController::settingsWindow() const { return settings_->window(); }

}  // namespace orvane
