#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "controller/ControllerSlot.h"
#include "controller/NativeController.h"
#include "desktop/Desktop.h"

namespace orvane::testing {

using nlohmann::json;

// The simulated Mac for controller tests: one 1512 x 982 screen with a 37 pt
// menu bar, a 24 pt status bar, a temporary disk, the manual clock, and the
// host process as a regular application.
class ControllerTest : public ::testing::Test {
public:
    static constexpr const char* hostId = "com.orvane.host";

    static json app(const std::string& bundleId, const std::string& name, int pid, bool running = true);
    // A visible, pressable extra in the menu-bar band of the primary screen.
    static json visibleExtra(int pid, double x = 1200);

protected:
    void SetUp() override;
    void TearDown() override;

    // A scene with the given apps (and any extra top-level keys merged in).
    json scene(json apps, json extra = json::object()) const;
    void load(const json& sceneValue);
    // Creates and starts a controller (held in the global slot, as the bridge does).
    std::shared_ptr<NativeController> start(bool qaMode = false);
    // Creates the folder of an app bundle on the simulated disk.
    void makeBundle(const std::string& path) const;
    std::string diskPath(const std::string& absolutePath) const;

    static std::vector<std::string> ids(const std::vector<AppEntry>& entries);
    std::vector<std::string> visibleIds() const { return ids(controller->state().entries); }
    // Runs main-thread jobs until the scan in flight has handed its result back.
    void finishScans();
    // Runs main-thread jobs (the manual clock stands still) for a short real time.
    void settle();
    json verb(const std::string& line);

    // The controller as the strip and the card see it.
    StripOwner& stripOwner() const { return *controller; }
    HoverCard::Owner& cardOwner() const { return *controller; }

    std::shared_ptr<NativeController> controller;
    std::filesystem::path disk;
};

}  // namespace orvane::testing
