#include "tests/controller/ControllerFixture.h"

#include "platform/ui/Event.h"
#include "strip/StripView.h"

namespace orvane::testing {
namespace {

using Ids = std::vector<std::string>;

json pinned(const std::string& id, const std::string& name, const std::string& policy) {
    return {{"id", id}, {"name", name}, {"path", "/Applications/" + name + ".app"}, {"policy", policy}};
}

// Tests the pinned policies against running and quitting applications.
TEST_F(ControllerTest, PoliciesDecideWhatRunningAppsShow) {
    load(scene(json::array({app("com.a", "A", 200, false), app("com.b", "B", 201), app("com.c", "C", 202)})));
    start();
    controller->configure({{"pinned", {pinned("com.a", "A", "auto"), pinned("com.b", "B", "running"),
                                       pinned("com.c", "C", "always")}}});
    EXPECT_EQ(visibleIds(), (Ids{"com.a", "com.c"}));
    EXPECT_EQ(controller->state().hidden, Ids{"com.b"});

    verb("quit com.b");
    EXPECT_EQ(visibleIds(), (Ids{"com.a", "com.b", "com.c"})) << "a quit app with policy running comes back";
    EXPECT_TRUE(controller->state().hidden.empty());

    verb("launch com.a");
    EXPECT_EQ(visibleIds(), (Ids{"com.a", "com.b", "com.c"})) << "auto stays without a detection";
}

// Tests that an auto entry yields to a present detection only with autoDedup and trust.
TEST_F(ControllerTest, AutoYieldsOnlyWhenTrustedAndDeduplicating) {
    auto a = app("com.a", "A", 200);
    a["extras"] = json::array({visibleExtra(200)});
    load(scene(json::array({a}), {{"accessibilityTrusted", true}}));
    start();
    controller->configure({{"pinned", {pinned("com.a", "A", "auto")}}});
    finishScans();
    ASSERT_EQ(controller->state().detections.at("com.a"), "present");
    EXPECT_TRUE(controller->state().entries.empty());
    EXPECT_EQ(controller->state().hidden, Ids{"com.a"});

    verb("revoke accessibility");
    controller->refresh(false);
    EXPECT_EQ(visibleIds(), Ids{"com.a"}) << "untrusted: the detection no longer counts";

    verb("grant accessibility");
    controller->configure({{"pinned", {pinned("com.a", "A", "auto")}}, {"autoDedup", false}});
    finishScans();
    EXPECT_EQ(visibleIds(), Ids{"com.a"});
    EXPECT_TRUE(controller->state().detections.empty()) << "no scan runs without autoDedup";
}

// Tests which running applications are appended after the pinned ones.
TEST_F(ControllerTest, RunningExtrasAreAppendedOnce) {
    auto helper = app("com.helper", "Helper", 210);
    helper["activationPolicy"] = "prohibited";
    auto agent = app("com.agent", "Agent", 211);
    agent["activationPolicy"] = "accessory";
    auto second = app("com.b", "B", 212);
    auto noPath = app("com.nopath", "NoPath", 213);
    noPath.erase("path");
    load(scene(json::array({app("com.b", "B", 201), app("com.c", "C", 202), helper, agent, second, noPath})));
    start();
    EXPECT_EQ(visibleIds(), (Ids{"com.b", "com.c"}))
        << "one entry per app; background, accessory, path-less apps and the host are not appended";

    controller->configure({{"pinned", {pinned("com.c", "C", "always"), pinned("com.helper", "Helper", "running")}}});
    EXPECT_EQ(visibleIds(), (Ids{"com.c", "com.b"})) << "pinned first, a pinned running app adds nothing";
    EXPECT_EQ(controller->state().hidden, Ids{"com.helper"}) << "a background app still counts as running";

    controller->configure({{"pinned", {pinned("com.c", "C", "always")}}, {"showRunning", false}});
    EXPECT_EQ(visibleIds(), Ids{"com.c"});

    std::size_t regular = 0;
    for (const auto& running : controller->state().running)
        regular += running->activationPolicy() == platform::ActivationPolicy::regular;
    EXPECT_EQ(controller->snapshot()["running"].size(), regular)
        << "the snapshot lists every regular app, the host and duplicates included";
}

// Tests that a pinned entry whose id is not a bundle id matches a running app by path.
TEST_F(ControllerTest, PinnedEntryMatchesRunningAppByPath) {
    load(scene(json::array({app("com.d", "D", 220)})));
    start();
    controller->configure({{"pinned", {{{"path", "/Applications/D.app"}, {"policy", "running"}}}},
                           {"showRunning", false}});
    EXPECT_TRUE(controller->state().entries.empty());
    EXPECT_EQ(controller->state().hidden, Ids{"/Applications/D.app"});
}

// Tests that a change is held back while the pointer is over the strip and lands when it leaves.
TEST_F(ControllerTest, ChangeHeldBackWhilePointerInsideStrip) {
    load(scene(json::array({app("com.a", "A", 200), app("com.b", "B", 201)})));
    start();
    controller->configure(json::object());
    ASSERT_EQ(visibleIds(), (Ids{"com.a", "com.b"}));
    auto frame = controller->snapshot()["frame"];
    double x = frame["x"].get<double>() + frame["width"].get<double>() - 10;
    double y = frame["y"].get<double>() + frame["height"].get<double>() / 2;
    verb("pointer " + std::to_string(x) + " " + std::to_string(y));
    ASSERT_TRUE(controller->state().strip->pointerInside());

    verb("quit com.b");
    EXPECT_EQ(visibleIds(), (Ids{"com.a", "com.b"})) << "the strip keeps its icons";
    EXPECT_TRUE(controller->state().pendingRefresh);
    EXPECT_EQ(controller->state().running.size(), 2u) << "running already carries the new state (host and A)";

    verb("activate com.a");
    EXPECT_TRUE(controller->state().pendingRefresh) << "still held back";

    verb("pointer 100 100");
    EXPECT_FALSE(controller->state().strip->pointerInside());
    EXPECT_EQ(visibleIds(), Ids{"com.a"});
    EXPECT_FALSE(controller->state().pendingRefresh);

    verb("pointer " + std::to_string(x) + " " + std::to_string(y));
    verb("launch com.b");
    EXPECT_TRUE(controller->state().pendingRefresh);
    controller->refresh(true);
    EXPECT_EQ(visibleIds(), (Ids{"com.a", "com.b"})) << "a forced refresh applies at once";
    EXPECT_FALSE(controller->state().pendingRefresh);

    controller->refresh(false);
    EXPECT_FALSE(controller->state().pendingRefresh) << "an unchanged id sequence is applied, not held";
}

// Tests that a launch or quit empties the detections while an activation keeps them.
TEST_F(ControllerTest, NotificationsInvalidateDetections) {
    auto a = app("com.a", "A", 200);
    a["extras"] = json::array({visibleExtra(200)});
    // The unresponsive app keeps every scan in flight for 0.12 s, long enough to look at.
    auto slow = app("com.slow", "Slow", 230);
    slow["unresponsive"] = true;
    load(scene(json::array({a, app("com.b", "B", 201), app("com.c", "C", 202, false), slow}),
               {{"accessibilityTrusted", true}}));
    start();
    controller->configure(json::object());
    finishScans();
    ASSERT_EQ(controller->state().detections.size(), 3u);
    auto epoch = controller->state().detectionEpoch;

    verb("activate com.b");
    EXPECT_EQ(controller->state().detections.size(), 3u) << "activation keeps detections";
    EXPECT_EQ(controller->state().detectionEpoch, epoch);
    finishScans();

    verb("launch com.c");
    EXPECT_TRUE(controller->state().detections.empty()) << "a launch empties detections at once";
    EXPECT_GT(controller->state().detectionEpoch, epoch);
    EXPECT_TRUE(controller->state().scanning) << "and starts a new scan";
    finishScans();
    EXPECT_EQ(controller->state().detections.size(), 4u);

    for (auto line : {"wake", "space", "quit com.c"}) {
        auto before = controller->state().detectionEpoch;
        verb(line);
        EXPECT_EQ(controller->state().detectionEpoch, before + 1) << line;
        finishScans();
    }
}

}  // namespace
}  // namespace orvane::testing
