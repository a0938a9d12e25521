#pragma once

#include <string>

namespace platform::ui { class View; }

namespace orvane {

// The file a surface is saved to inside the capture folder.
std::string captureFilePath(const std::string& directory, const std::string& fileName);

// Renders the view's bounds at its screen's backing scale and writes the PNG
// to path. Nothing is written when rendering or encoding yields nothing; a
// failed write is ignored. Returns whether the file was written.
bool writeViewPNG(platform::ui::View& view, const std::string& path);

}  // namespace orvane
