#pragma once

#include <string>

namespace platform::ui {
class View;
class Window;
}  // namespace platform::ui

namespace orvane {

// The files the capture command leaves in its folder.
namespace captureFile {
inline constexpr const char* strip = "strip.png";
inline constexpr const char* card = "card.png";
inline constexpr const char* settings = "settings.png";
inline constexpr const char* error = "capture-error.txt";
}  // namespace captureFile

// The file a surface is saved to inside the capture folder.
std::string captureFilePath(const std::string& directory, const std::string& fileName);

// Renders the view's bounds at its screen's backing scale and writes the PNG
// to path. Nothing is written when rendering or encoding yields nothing; a
// failed write is ignored. Returns whether the file was written.
bool writeViewPNG(platform::ui::View& view, const std::string& path);

// Saves one of our windows to fileName in the folder: its content view
// rendered at once, then, when the system lets this process record the
// screen, the window with its frame as the screen-capture service sees it,
// replacing that file later (WindowSnapshotJob).
void captureWindowSurface(const platform::ui::Window& window, const std::string& directory, const std::string& fileName);

}  // namespace orvane
