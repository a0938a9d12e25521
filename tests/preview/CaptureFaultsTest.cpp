// Tests of the faults around the card's capture loop: a window that goes
// between listing and capture, a card closed or moved to another app while
// a capture is in flight, the permission revoked between frames, the app
// quitting, the controller stopped or replaced while a job waits. None may
// leave a stale image, a crash, or anything alive after the card closed.

#include <gtest/gtest.h>

#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Window.h"
#include "preview/PreviewImageView.h"
#include "tests/preview/PreviewFixture.h"
#include "tests/support/Call.h"

namespace orvane::testing {
namespace {

using test::data;

json alpha() {
    return PreviewTest::windowApp("com.example.alpha", "Alpha", 700,
                                  json::array({PreviewTest::window(81, "A1", 1600, 1000),
                                               PreviewTest::window(82, "A2", 800, 600)}));
}
json bravo() {
    return PreviewTest::windowApp("com.example.bravo", "Bravo", 710, json::array({PreviewTest::window(91, "B1", 900, 700)}));
}

// Answers come half a second after each request.
const json slow = {{"captureLatency", 0.5}};

// Tests that a window closing between the listing and its capture shows the
// "unavailable" state with the system's reason, and that the re-check then
// finds the window that is left.
TEST_F(PreviewTest, WindowGoesBetweenListingAndCapture) {
    startWith(json::array({alpha()}), slow);
    auto card = open(0);
    desktop::advance(0.5);
    ASSERT_EQ(captures(), 1) << "the capture of window 81 is in flight";
    verb("window close 81");
    desktop::advance(0.5);
    EXPECT_EQ(card->previewState(), "unavailable");
    EXPECT_EQ(card->placeholder()->text(), "暂时无法读取此窗口\n可重新检测后再试");
    EXPECT_EQ(card->imageView()->image(), nullptr);
    EXPECT_NE(data("snapshot")["captureError"], "");
    EXPECT_EQ(data("snapshot")["screenCapture"], true) << "a failure other than declined proves nothing either way";
    const long listed = listings();
    desktop::advance(3);
    EXPECT_EQ(listings(), listed) << "a failed job does not retry by itself";

    card->retry()->performClick();
    desktop::advance(1.5);
    EXPECT_EQ(report()["displayedWindowID"], 82);
    EXPECT_EQ(report()["windows"], 1);
}

// Tests that closing the card while a capture is in flight releases the
// card at once and that nothing is listed, captured or timed afterwards.
TEST_F(PreviewTest, CardClosedDuringCapture) {
    startWith(json::array({alpha()}), slow);
    const json pendingWithoutCard = desktop::state()["pendingJobs"];
    std::weak_ptr<WindowPreview> weak = open(0);
    std::weak_ptr<platform::ui::Window> panel = controller->hoverCard().window();
    desktop::advance(0.6);
    ASSERT_EQ(captures(), 1);
    data("closeCard");
    EXPECT_TRUE(weak.expired()) << "nothing keeps the card alive";
    EXPECT_TRUE(panel.expired());
    desktop::advance(10);
    EXPECT_EQ(listings(), 1);
    EXPECT_EQ(captures(), 1);
    EXPECT_EQ(data("snapshot")["captureError"], "");

    // The same with a card closed during its pause after a picture.
    weak = open(0);
    desktop::advance(1.2);
    ASSERT_EQ(weak.lock()->imageFrames(), 1);
    data("closeCard");
    EXPECT_TRUE(weak.expired());
    const long listed = listings(), captured = captures();
    desktop::advance(10);
    EXPECT_EQ(listings(), listed);
    EXPECT_EQ(captures(), captured);
    EXPECT_EQ(desktop::state()["pendingJobs"], pendingWithoutCard) << "no pause or transition left waiting";
}

// Tests that a capture answering after the card moved on to another app is
// never shown on the new card.
TEST_F(PreviewTest, LateCaptureAfterTheCardMovedOn) {
    startWith(json::array({alpha(), bravo()}), slow);
    auto first = open(0);
    desktop::advance(0.6);
    ASSERT_EQ(captures(), 1);
    auto second = open(1);
    EXPECT_TRUE(first->isStopped());
    desktop::advance(0.4);
    EXPECT_EQ(second->imageFrames(), 0) << "Alpha's picture arrived and went nowhere";
    EXPECT_EQ(second->imageView()->image(), nullptr);
    EXPECT_EQ(first->imageView()->image(), nullptr);
    desktop::advance(0.7);
    EXPECT_EQ(report()["displayedWindowID"], 91);
    EXPECT_EQ(report()["frames"], 1);
}

// Tests that a permission revoked between two pictures ends in the
// permission state with the declined text, and the proof taken back.
TEST_F(PreviewTest, PermissionRevokedBetweenFrames) {
    startWith(json::array({alpha()}));
    auto card = open(0);
    desktop::advance(0.5);
    ASSERT_EQ(card->previewState(), "live");
    verb("revoke screen");
    desktop::advance(0.5);
    EXPECT_EQ(card->previewState(), "permissionRequired");
    EXPECT_EQ(card->placeholder()->text(), "屏幕权限尚未对当前进程生效\n已授权可重新打开岚舟");
    json snapshot = data("snapshot");
    EXPECT_EQ(snapshot["screenCapture"], false);
    EXPECT_EQ(snapshot["preview"]["pixelWidth"], 0);
    EXPECT_NE(snapshot["captureError"], "");
}

// Tests that an application quitting closes its open card, and that a
// controller stopped or replaced while its card's job waits leaves nothing
// running.
TEST_F(PreviewTest, QuitStopAndReplaceWhileAJobWaits) {
    startWith(json::array({alpha(), bravo()}), slow);
    std::weak_ptr<WindowPreview> weak = open(0);
    desktop::advance(0.6);
    verb("quit com.example.alpha");
    EXPECT_EQ(data("snapshot")["card"], "");
    EXPECT_TRUE(weak.expired());

    weak = open(0);
    ASSERT_FALSE(weak.expired());
    EXPECT_EQ(data("snapshot")["preview"]["status"], "notRunning");
    weak = open(1);
    desktop::advance(0.6);
    data("start");
    controller.reset();
    EXPECT_TRUE(weak.expired()) << "the replaced controller's card";
    const long listed = listings(), captured = captures();
    desktop::advance(10);
    EXPECT_EQ(listings(), listed);
    EXPECT_EQ(captures(), captured);
    EXPECT_EQ(data("snapshot")["card"], "");

    // A controller released without stop takes its card with it.
    data("configure", {{"pinned", json::array({{{"id", "com.example.bravo"}, {"name", "Bravo"},
                                                {"path", "/Applications/Bravo.app"}}})}});
    weak = open(0);
    desktop::advance(0.6);
    controllerSlot().reset();
    EXPECT_TRUE(weak.expired());
    desktop::advance(10);
    EXPECT_EQ(captures(), captured + 1);
}

}  // namespace
}  // namespace orvane::testing
