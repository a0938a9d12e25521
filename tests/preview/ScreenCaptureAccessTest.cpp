// Tests of the process's screen-recording evidence through the host's
// commands: the probe that proves the permission when the preflight says
// no, the declined capture that disproves it, probes in quick succession,
// the settings page, and the card's own re-check and activation observer.

#include <gtest/gtest.h>

#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "preview/PreviewImageView.h"
#include "preview/ScreenCaptureAccess.h"
#include "tests/preview/PreviewFixture.h"
#include "tests/support/Call.h"

namespace orvane::testing {
namespace {

using test::data;

constexpr const char* settingsURL = "x-apple.systempreferences:com.apple.preference.security?Privacy_ScreenCapture";
const json succeeded = {{"kind", "screenResult"}, {"message", "屏幕录制权限已生效。"}};
const json failed = {{"kind", "screenResult"}, {"message", "权限尚未对当前进程生效；已授权请重新打开岚舟。"}};

json notes() {
    return PreviewTest::windowApp("com.example.notes", "Notes", 700,
                                  json::array({PreviewTest::window(81, "Notes", 1600, 1000)}));
}

// A permission granted while the process runs but not yet in the preflight.
json inForceOnly() { return {{"screenCaptureGranted", false}, {"screenCaptureInForce", true}}; }

// Tests that a successful probe proves the permission though the preflight
// says no, reloads an open card, and that a declined capture takes the
// proof back so that granted falls back to the preflight alone.
TEST_F(PreviewTest, ProbeProvesAndDeclinedCaptureDisproves) {
    startWith(json::array({notes()}), inForceOnly());
    auto card = open(0);
    ASSERT_EQ(card->previewState(), "permissionRequired");
    json snapshot = data("snapshot");
    EXPECT_EQ(snapshot["screenCapture"], false);
    EXPECT_EQ(snapshot["screenCaptureStatus"], "当前进程未生效");

    data("events");
    data("screenRetry");
    EXPECT_EQ(data("events"), json::array()) << "the reply does not wait for the probe";
    desktop::advance(0);
    EXPECT_EQ(data("events"), json::array({succeeded}));
    snapshot = data("snapshot");
    EXPECT_EQ(snapshot["screenCapture"], true);
    EXPECT_EQ(snapshot["screenCaptureStatus"], "已生效");
    EXPECT_EQ(snapshot["captureError"], "");
    EXPECT_EQ(snapshot["preview"]["status"], "live") << "the open card reloaded";

    verb("capture decline com.example.notes");
    desktop::advance(0.75);
    EXPECT_EQ(card->previewState(), "permissionRequired");
    EXPECT_EQ(card->placeholder()->text(), "屏幕权限尚未对当前进程生效\n已授权可重新打开岚舟");
    EXPECT_EQ(card->imageView()->image(), nullptr);
    snapshot = data("snapshot");
    EXPECT_EQ(snapshot["screenCapture"], false);
    EXPECT_NE(snapshot["captureError"], "");
    EXPECT_EQ(snapshot["preview"].count("displayedWindowID"), 0u);
    const long listed = listings();
    desktop::advance(5);
    EXPECT_EQ(listings(), listed) << "a declined capture ends the job";

    verb("grant screen-preflight");
    EXPECT_EQ(data("snapshot")["screenCapture"], true) << "the preflight alone counts";
}

// Tests that a probe asked for while one runs answers at once with the
// permission as it is then, that a failed probe records its error, and that
// a probe ending after stop queues nothing.
TEST_F(PreviewTest, ProbesInQuickSuccession) {
    startWith(json::array({notes()}), inForceOnly());
    data("events");
    data("screenRetry");
    data("screenRetry");
    EXPECT_EQ(data("events"), json::array({failed})) << "the second is answered at once";
    desktop::advance(0);
    EXPECT_EQ(data("events"), json::array({succeeded}));
    EXPECT_EQ(listings(), 1);

    ScreenCaptureAccess::reset();
    verb("capture decline listing");
    data("screenRetry");
    desktop::advance(0);
    EXPECT_EQ(data("events"), json::array({failed}));
    EXPECT_NE(data("snapshot")["captureError"], "");

    data("screenRetry");
    data("stop");
    desktop::advance(0);
    EXPECT_EQ(data("events"), json::array());
    EXPECT_FALSE(ScreenCaptureAccess::checking());
}

// Tests that screenPermission asks the system only without the preflight
// and opens the screen-recording settings in every case.
TEST_F(PreviewTest, ScreenPermissionOpensTheSettings) {
    startWith(json::array({notes()}), {{"screenCaptureGranted", false}});
    data("screenPermission");
    json state = desktop::state();
    EXPECT_EQ(state["screenCapture"]["prompts"], 1);
    EXPECT_EQ(state["openedURLs"], json::array({settingsURL}));
    verb("grant screen");
    data("screenPermission");
    state = desktop::state();
    EXPECT_EQ(state["screenCapture"]["prompts"], 1);
    EXPECT_EQ(state["openedURLs"], json::array({settingsURL, settingsURL}));
}

// Tests the card's re-check button: the waiting text, a failure with its
// own text, then success starting the capture.
TEST_F(PreviewTest, RecheckButton) {
    startWith(json::array({notes()}), {{"screenCaptureGranted", false}});
    auto card = open(0);
    card->retry()->performClick();
    EXPECT_FALSE(card->retry()->isEnabled());
    EXPECT_EQ(card->placeholder()->text(), "正在重新检测屏幕权限…");
    EXPECT_EQ(card->previewState(), "permissionRequired");
    desktop::advance(0);
    EXPECT_TRUE(card->retry()->isEnabled());
    EXPECT_EQ(card->placeholder()->text(), "权限尚未对当前进程生效\n已授权可重新打开岚舟");

    verb("grant screen-recording");
    card->retry()->performClick();
    desktop::advance(0);
    EXPECT_EQ(card->previewState(), "live");

    // A re-check whose answer comes after the card closed does nothing.
    verb("capture fail com.example.notes");
    desktop::advance(0.75);
    ASSERT_EQ(card->previewState(), "unavailable");
    card->retry()->performClick();
    data("closeCard");
    desktop::advance(0);
    EXPECT_EQ(card->previewState(), "unavailable");
    EXPECT_TRUE(card->isStopped());
}

// Tests the activation observer of a card on its own: a card waiting for the
// permission starts when an application is activated after the grant, and
// a stopped card never does.
TEST_F(PreviewTest, ActivationRestartsAWaitingCard) {
    startWith(json::array({notes(), app("com.example.other", "Other", 710)}), {{"screenCaptureGranted", false}});
    data("stop");
    auto make = [] { return WindowPreview::create("Notes", nullptr, 700, "com.example.notes", false, {}); };
    auto waiting = make();
    auto stopped = make();
    waiting->start();
    stopped->start();
    stopped->stop();
    EXPECT_EQ(waiting->previewState(), "permissionRequired");
    verb("activate com.example.other");
    desktop::advance(0);
    EXPECT_EQ(waiting->previewState(), "permissionRequired") << "still without the permission";
    verb("grant screen");
    verb("activate com.example.notes");
    desktop::advance(0);
    EXPECT_EQ(waiting->previewState(), "live");
    EXPECT_EQ(stopped->previewState(), "permissionRequired");
    EXPECT_EQ(stopped->task(), nullptr);
    waiting->stop();
}

}  // namespace
}  // namespace orvane::testing
