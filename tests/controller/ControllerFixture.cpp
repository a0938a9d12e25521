#include "tests/controller/ControllerFixture.h"

#include <atomic>
#include <unistd.h>

namespace orvane::testing {

void ControllerTest::SetUp() {
    static std::atomic<int> counter{0};
    disk = std::filesystem::temp_directory_path() /
           ("orvane-controller-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(disk);
}

void ControllerTest::TearDown() {
    if (controller) {
        finishScans();
        controller->stop();
    }
    controller.reset();
    controllerSlot().reset();
    std::error_code ignored;
    std::filesystem::remove_all(disk, ignored);
}

json ControllerTest::scene(json apps, json extra) const {
    json value = {
        {"screens", json::array({{{"frame", {0, 0, 1512, 982}}, {"visibleFrame", {0, 0, 1512, 945}},
                                  {"safeAreaTop", 0}, {"backingScale", 2}}})},
        {"statusBarThickness", 24},
        {"pointer", {700, 400}},
        {"accessibilityTrusted", false},
        {"host", {{"bundleId", hostId}, {"name", "Orvane"}, {"path", "/Applications/Orvane.app"},
                  {"activationPolicy", "regular"}}},
        {"apps", std::move(apps)},
        {"disk", disk.string()},
        // Other applications' windows as flat rectangles: these tests read
        // states and events, not pixels (the preview's fixture asks for the
        // detailed pictures it inspects).
        {"windowPictures", "plain"},
    };
    for (auto& [key, item] : extra.items()) value[key] = item;
    return value;
}

json ControllerTest::app(const std::string& bundleId, const std::string& name, int pid, bool running) {
    return {{"bundleId", bundleId}, {"name", name}, {"path", "/Applications/" + name + ".app"},
            {"pid", pid}, {"activationPolicy", "regular"}, {"running", running}};
}

json ControllerTest::visibleExtra(int pid, double x) {
    return {{"ownerPid", pid}, {"hidden", false}, {"frame", {x, 6, 22, 24}}, {"pressable", true}};
}

void ControllerTest::load(const json& sceneValue) { desktop::reset(sceneValue, desktop::Clock::manual); }

std::shared_ptr<NativeController> ControllerTest::start(bool qaMode) {
    controller = NativeController::create();
    controller->setQaMode(qaMode);
    controllerSlot() = controller;
    controller->start();
    return controller;
}

void ControllerTest::makeBundle(const std::string& path) const {
    std::filesystem::create_directories(diskPath(path) + "/Contents");
}

std::string ControllerTest::diskPath(const std::string& absolutePath) const { return disk.string() + absolutePath; }

std::vector<std::string> ControllerTest::ids(const std::vector<AppEntry>& entries) {
    std::vector<std::string> result;
    for (const auto& entry : entries) result.push_back(entry.id);
    return result;
}

void ControllerTest::finishScans() {
    ASSERT_TRUE(desktop::runUntil([&] { return !controller || !controller->state().scanning; }, 10))
        << "a native-entry scan never handed its result back";
}

void ControllerTest::settle() {
    desktop::runUntil([] { return false; }, 0.05);
}

json ControllerTest::verb(const std::string& line) {
    auto reply = desktop::verb(line);
    EXPECT_TRUE(reply.value("ok", false)) << line << ": " << reply.dump();
    desktop::advance(0);
    return reply;
}

}  // namespace orvane::testing
