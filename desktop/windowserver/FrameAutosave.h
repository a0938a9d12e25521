#pragma once

// Window frames kept under autosave names, as the platform keeps them: in the
// application's own preferences on disk ("NSWindow Frame NAME" in the domain
// of its bundle identifier), so that a window made in a later run, even after
// the machine was reset on the same disk, comes back where it was left.

#include <optional>
#include <string>

#include "platform/Geometry.h"

namespace desktop {

// The bundle identifier of the application whose windows are saved (the
// host); until one is set, or when it is empty, frames go to the domain named
// after the executable of the host.
void setWindowFrameOwner(const std::string& bundleIdentifier);

// The frame saved under the name, nothing when none was or it does not read
// as four finite numbers with a positive size.
std::optional<platform::Rect> savedWindowFrame(const std::string& name);
// Saves the frame (and the visible frame of its screen, as the platform
// writes it) under the name, atomically; false when it could not be written.
bool saveWindowFrame(const std::string& name, platform::Rect frame, platform::Rect screenFrame);

}  // namespace desktop
