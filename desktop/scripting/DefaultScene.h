#pragma once

// The demo Mac's scene, embedded so that the demo runs without any file.

#include <nlohmann/json_fwd.hpp>

namespace desktop {

// A laptop screen, Finder, the Dock and a handful of everyday applications.
const nlohmann::json& defaultScene();

}  // namespace desktop
