// The contract harness for the simulated Mac: a scene on a scratch disk that
// is emptied for every test, the manual clock, and folders made on the disk.

#include "tests/platform/ContractHarness.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "desktop/files/Disk.h"

namespace orvane::contract {

namespace {

constexpr const char* launchablePath = "/Applications/Contract.app";

// One scratch disk per process, so that test processes run side by side do
// not empty each other's disk; removed when the process ends.
struct ScratchDisk {
    std::string path = ::testing::TempDir() + "orvane-contract-" + std::to_string(::getpid());
    ~ScratchDisk() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

const std::string& scratchDisk() {
    static ScratchDisk disk;
    return disk.path;
}

}  // namespace

void contractReset(const ContractMachine& machine) {
    const std::string& disk = scratchDisk();
    std::error_code ignored;
    std::filesystem::remove_all(disk, ignored);
    nlohmann::json scene = {
        {"disk", disk},
        {"apps", nlohmann::json::array({{{"bundleId", "com.example.Contract"},
                                         {"name", "Contract"},
                                         {"path", launchablePath},
                                         {"running", false}}})},
        {"accessibilityTrusted", machine.accessibilityTrusted},
        {"screenCaptureGranted", machine.screenCaptureAllowed},
    };
    desktop::reset(scene, desktop::Clock::manual);
}

void contractAdvance(double seconds) { desktop::advance(seconds); }

bool contractRunUntil(const std::function<bool()>& predicate, double realTimeoutSeconds) {
    return desktop::runUntil(predicate, realTimeoutSeconds);
}

std::string contractLaunchableApplicationPath() { return launchablePath; }

void contractMakeFolder(const std::string& absolutePath) {
    std::filesystem::create_directories(desktop::resolve(absolutePath));
}

}  // namespace orvane::contract
