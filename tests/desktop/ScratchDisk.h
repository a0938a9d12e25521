#pragma once

// Scenes for the desktop's own tests, on a scratch folder as the disk, so
// that a reset does not copy the demo disk each time.

#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

namespace orvane::test {

inline nlohmann::json onScratchDisk(nlohmann::json scene) {
    scene["disk"] = ::testing::TempDir() + "orvane-desktop-scratch";
    return scene;
}

}  // namespace orvane::test
