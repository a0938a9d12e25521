// The simulated Mac as a whole: one process-wide desktop that a scene resets
// and that tests and the host script. It starts itself from the environment
// when the library first reaches for a platform service.

#include "desktop/Desktop.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>

#include <nlohmann/json.hpp>

#include "desktop/Startup.h"
#include "desktop/apps/ProcessTable.h"
#include "desktop/apps/SimulatedWorkspace.h"
#include "desktop/apps/Tools.h"
#include "desktop/capture/SimulatedScreenCapture.h"
#include "desktop/files/Disk.h"
#include "desktop/permissions/Permissions.h"
#include "desktop/preferences/Preferences.h"
#include "desktop/runloop/MainRunLoop.h"
#include "desktop/scripting/DemoDisk.h"
#include "desktop/scripting/DesktopState.h"
#include "desktop/scripting/Verbs.h"
#include "desktop/windowserver/WindowServer.h"

namespace desktop {
namespace {

std::atomic<bool> started{false};
std::mutex startMutex;
// The demo disk is the default disk from the moment the library is loaded,
// before any scene is set.
const bool demoDiskInstalled = (setDefaultDiskMaker(freshDemoDisk), true);

}  // namespace

nlohmann::json sceneFromEnvironment() {
    const char* file = std::getenv("ORVANE_SCENE");
    if (!file || !*file) return defaultScene();
    std::ifstream in(file, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto scene = nlohmann::json::parse(text, nullptr, false);
    if (!in.good() && !in.eof()) scene = nlohmann::json::value_t::discarded;
    if (scene.is_discarded() || !scene.is_object()) {
        std::fprintf(stderr, "orvane desktop: ORVANE_SCENE %s is not a readable JSON object; using the default scene\n", file);
        return defaultScene();
    }
    return scene;
}

Clock clockFromEnvironment() {
    const char* clock = std::getenv("ORVANE_CLOCK");
    return clock && std::string(clock) == "manual" ? Clock::manual : Clock::real;
}

void ensureStarted() {
    if (started.load()) return;
    std::lock_guard lock(startMutex);
    if (started.load()) return;
    reset(sceneFromEnvironment(), clockFromEnvironment());
}

void reset(const nlohmann::json& scene, Clock clock) {
    // Set first: the pieces reset below may reach for platform services.
    started = true;
    const nlohmann::json& given = scene.is_object() ? scene : nlohmann::json::object();
    MainRunLoop::shared().reset(clock);
    permissions::reset(given);
    resetWorkspace(given);
    nlohmann::json normalized = ProcessTable::shared().reset(given);
    resetDisk(normalized);
    // Cached preference values and the tools' settings belong to the disk just chosen.
    resetPreferenceDomains(normalized);
    resetTools(normalized);
    resetWindowServer(normalized);
    resetScreenCapture(normalized);
}

void advance(double seconds) {
    ensureStarted();
    MainRunLoop::shared().advance(seconds);
}

void advanceSettled(double seconds, double realTimeoutSeconds) {
    ensureStarted();
    MainRunLoop::shared().advanceSettled(seconds, realTimeoutSeconds);
}

void runFor(double seconds) {
    ensureStarted();
    MainRunLoop::shared().runFor(seconds);
}

bool runUntil(const std::function<bool()>& predicate, double realTimeoutSeconds) {
    ensureStarted();
    return MainRunLoop::shared().runUntil(predicate, realTimeoutSeconds);
}

void pump() {
    ensureStarted();
    MainRunLoop::shared().pump();
}

bool settle(double realTimeoutSeconds) {
    ensureStarted();
    return MainRunLoop::shared().settle(realTimeoutSeconds);
}

nlohmann::json verb(const std::string& line) {
    ensureStarted();
    return runVerb(line);
}

nlohmann::json state() {
    ensureStarted();
    return desktopState();
}

}  // namespace desktop
