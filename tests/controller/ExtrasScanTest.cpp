#include "tests/controller/ControllerFixture.h"

#include "controller/ExtrasDetection.h"

namespace orvane::testing {
namespace {

json extra(int pid, json frame, bool hidden = false, bool pressable = true) {
    return {{"ownerPid", pid}, {"hidden", hidden}, {"frame", std::move(frame)}, {"pressable", pressable}};
}

json appWithExtras(const std::string& id, const std::string& name, int pid, json extras) {
    auto value = ControllerTest::app(id, name, pid);
    value["extras"] = std::move(extras);
    return value;
}

// Tests that no scan runs without trust, without autoDedup, or while one is in flight.
TEST_F(ControllerTest, ScanGuards) {
    auto slow = app("com.slow", "Slow", 230);
    slow["unresponsive"] = true;
    load(scene(json::array({appWithExtras("com.a", "A", 200, {visibleExtra(200)}), slow})));
    start();
    controller->configure(json::object());
    EXPECT_FALSE(controller->state().scanning) << "untrusted: no scan";
    EXPECT_TRUE(controller->state().detections.empty());

    verb("grant accessibility");
    controller->configure({{"autoDedup", false}});
    controller->scanExtras();
    EXPECT_FALSE(controller->state().scanning);
    EXPECT_TRUE(controller->state().detections.empty());

    controller->configure(json::object());
    ASSERT_TRUE(controller->state().scanning);
    auto epoch = controller->state().detectionEpoch;
    controller->scanExtras();
    controller->permissionFollowUp();
    EXPECT_TRUE(controller->state().scanning);
    finishScans();
    EXPECT_EQ(controller->state().detectionEpoch, epoch);
    EXPECT_EQ(controller->state().detections, (Detections{{"com.a", "present"}, {"com.slow", "unknown"}}))
        << "an unresponsive app fails its reads and stays on the strip";

    verb("revoke accessibility");
    controller->scanExtras();
    EXPECT_TRUE(controller->state().detections.empty()) << "losing trust empties the detections";
}

// Tests the value of each kind of extra: hidden, not pressable, below the band, none, unreadable.
TEST_F(ControllerTest, ScanValuesPerKindOfExtra) {
    auto unreadable = app("com.unreadable", "Unreadable", 205);
    unreadable["extrasReadable"] = false;
    auto noChildren = app("com.nochildren", "NoChildren", 206);
    noChildren["extrasChildrenReadable"] = false;
    auto accessory = appWithExtras("com.agent", "Agent", 207, {visibleExtra(207)});
    accessory["activationPolicy"] = "accessory";
    auto pinnedAccessory = appWithExtras("com.pinnedagent", "PinnedAgent", 208, {visibleExtra(208)});
    pinnedAccessory["activationPolicy"] = "accessory";
    load(scene(json::array({
                   appWithExtras("com.hidden", "Hidden", 200, {extra(200, {1200, 6, 22, 24}, true)}),
                   appWithExtras("com.flat", "Flat", 201, {extra(201, {1200, 6, 22, 24}, false, false)}),
                   appWithExtras("com.low", "Low", 202, {extra(202, {1200, 30, 22, 24})}),
                   appWithExtras("com.none", "None", 203, json::array()),
                   appWithExtras("com.foreign", "Foreign", 204, {visibleExtra(999)}),
                   unreadable, noChildren, accessory, pinnedAccessory,
                   appWithExtras("com.later", "Later", 209, {extra(209, {1200, 6, 0, 24}), visibleExtra(209)}),
               }),
               {{"accessibilityTrusted", true}}));
    start();
    controller->configure({{"pinned", {{{"id", "com.pinnedagent"}, {"path", "/Applications/PinnedAgent.app"}}}}});
    finishScans();
    EXPECT_EQ(controller->state().detections, (Detections{
                                            {"com.hidden", "unknown"},
                                            {"com.flat", "unknown"},
                                            {"com.low", "unknown"},
                                            {"com.none", "absent"},
                                            {"com.foreign", "unknown"},
                                            {"com.unreadable", "unknown"},
                                            {"com.nochildren", "unknown"},
                                            {"com.pinnedagent", "present"},
                                            {"com.later", "present"},
                                        }))
        << "accessory apps are scanned only when pinned; the host never";
    EXPECT_EQ(controller->state().hidden, (std::vector<std::string>{"com.pinnedagent", "com.later"}));
}

// Tests the 42-point band on a secondary screen: exactly inside counts, one point below does not.
TEST_F(ControllerTest, ScanBandOnSecondaryScreen) {
    // Secondary screen (1512, 100, 1920, 1080): its top is at y 1180, its band from 1138.
    // Top-left origin y = 982 (primary top) - bottom-left y - height.
    load(scene(json::array({
                   appWithExtras("com.top", "Top", 200, {extra(200, {1600, 982 - 1138 - 42, 30, 42})}),
                   appWithExtras("com.below", "Below", 201, {extra(201, {1700, 982 - 1137 - 42, 30, 42})}),
               }),
               {{"accessibilityTrusted", true},
                {"screens", {{{"frame", {0, 0, 1512, 982}}, {"visibleFrame", {0, 0, 1512, 945}}},
                             {{"frame", {1512, 100, 1920, 1080}}, {"visibleFrame", {1512, 100, 1920, 1055}}}}}}));
    start();
    controller->configure(json::object());
    finishScans();
    EXPECT_EQ(controller->state().detections, (Detections{{"com.top", "present"}, {"com.below", "unknown"}}));

    std::vector<platform::Rect> screens{{0, 0, 1512, 982}, {1512, 100, 1920, 1080}};
    EXPECT_TRUE(inMenuBarBand({1600, 1138, 30, 42}, screens));
    EXPECT_FALSE(inMenuBarBand({1600, 1137, 30, 42}, screens));
    EXPECT_FALSE(inMenuBarBand({1500, 950, 30, 24}, screens)) << "straddling two screens";
    EXPECT_FALSE(inMenuBarBand({0, 950, 30, 24}, {}));
}

// Tests that a second process keeps the first's "present" unless its extras cannot be read.
TEST_F(ControllerTest, ScanTwoProcessesOfOneApp) {
    load(scene(json::array({
                   appWithExtras("com.twin", "Twin", 200, {visibleExtra(200)}),
                   appWithExtras("com.twin", "Twin", 201, json::array()),
                   appWithExtras("com.twin", "Twin", 202, {extra(202, {1200, 6, 22, 24}, true)}),
               }),
               {{"accessibilityTrusted", true}}));
    start();
    controller->configure(json::object());
    finishScans();
    EXPECT_EQ(controller->state().detections.at("com.twin"), "present");

    // Pure rule: an unreadable second process sets "unknown".
    struct Stub : platform::Accessibility {
        bool isTrusted(bool) override { return true; }
        std::optional<std::vector<platform::MenuBarExtra>> extras(int pid, double timeout) override {
            EXPECT_DOUBLE_EQ(timeout, 0.12);
            if (pid == 2) return std::nullopt;
            return std::vector<platform::MenuBarExtra>{{pid, false, platform::Point{1200, 6}, platform::Size{22, 24}, true}};
        }
    } stub;
    std::vector<platform::Rect> screens{{0, 0, 1512, 982}};
    EXPECT_EQ(detectExtras({{1, "com.x"}, {2, "com.x"}}, screens, stub), (Detections{{"com.x", "unknown"}}));
    EXPECT_EQ(detectExtras({{2, "com.x"}, {1, "com.x"}}, screens, stub), (Detections{{"com.x", "present"}}));
    EXPECT_EQ(detectExtras({{1, ""}}, screens, stub), Detections{}) << "an app without a key is not scanned";
}

// Tests that a launch during a scan drops its result and starts a fresh scan at once.
TEST_F(ControllerTest, LaunchDuringScanDropsResultAndRescans) {
    auto slow = app("com.slow", "Slow", 230);
    slow["unresponsive"] = true;
    // Without an owner pid the extra belongs to whatever pid the launch gives the app.
    auto lateExtra = visibleExtra(0);
    lateExtra.erase("ownerPid");
    auto late = appWithExtras("com.late", "Late", 231, {lateExtra});
    late["running"] = false;
    load(scene(json::array({slow, late}), {{"accessibilityTrusted", true}}));
    start();
    controller->configure(json::object());
    ASSERT_TRUE(controller->state().scanning);
    auto epoch = controller->state().detectionEpoch;

    verb("launch com.late");
    EXPECT_GT(controller->state().detectionEpoch, epoch);
    EXPECT_TRUE(controller->state().detections.empty());
    EXPECT_TRUE(controller->state().scanning) << "the running scan stays the only one";
    // The first scan never saw com.late; only the rescan can have found its extra.
    finishScans();
    EXPECT_EQ(controller->state().detections, (Detections{{"com.slow", "unknown"}, {"com.late", "present"}}));
    EXPECT_EQ(controller->state().hidden, std::vector<std::string>{"com.late"});
}

// Tests that a controller released while its scan runs drops the result safely.
TEST_F(ControllerTest, ScanOutlivedByReleasedController) {
    auto slow = app("com.slow", "Slow", 230);
    slow["unresponsive"] = true;
    load(scene(json::array({slow}), {{"accessibilityTrusted", true}}));
    start();
    controller->configure(json::object());
    ASSERT_TRUE(controller->state().scanning);
    std::weak_ptr<NativeController> weak = controller;
    controller->stop();
    controller.reset();
    controllerSlot().reset();
    EXPECT_TRUE(weak.expired());
    desktop::runUntil([] { return false; }, 0.3);
}

// Tests that the epoch wraps instead of overflowing and still differs from the one before.
TEST(ExtrasDetectionTest, EpochNeverRepeatsTheCurrentValue) {
    EXPECT_EQ(nextEpoch(0), 1u);
    EXPECT_EQ(nextEpoch(~std::uint64_t(0)), 0u);
}

}  // namespace
}  // namespace orvane::testing
