// Tests that the simulated Mac's screen-recording service answers like the
// real one: later and on the main run loop, with the windows the window
// server knows (minimised ones and other processes of a bundle included),
// and the declined and failed answers the scene and the verbs ask for. The
// pictures themselves are WindowPictureCaptureTest's.

#include <gtest/gtest.h>

#include <unistd.h>

#include <memory>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "platform/ScreenCapture.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Window.h"
#include "tests/desktop/ScratchDisk.h"
#include "tests/desktop/ScreenCaptureFixture.h"

namespace {

using orvane::test::captureScene;
using orvane::test::declined;
using orvane::test::ScreenCaptureTest;
using orvane::test::sized;

using nlohmann::json;
using platform::CaptureConfiguration;
using platform::CaptureResult;
using platform::ShareableContent;
using platform::ShareableWindow;
namespace ui = platform::ui;

// Tests that answers never arrive inside the call, and arrive once the
// scene's latency has passed on the manual clock.
TEST_F(ScreenCaptureTest, AnswersArriveOnTheRunLoopAfterTheLatency) {
    bool listed = false, captured = false;
    capture().shareableContent(true, false, [&](ShareableContent) { listed = true; });
    capture().captureWindow(201, sized(100, 80), [&](CaptureResult) { captured = true; });
    EXPECT_FALSE(listed);
    EXPECT_FALSE(captured);
    desktop::pump();
    EXPECT_TRUE(listed);
    EXPECT_TRUE(captured);

    json scene = captureScene();
    scene["captureLatency"] = 0.5;
    desktop::reset(orvane::test::onScratchDisk(scene), desktop::Clock::manual);
    listed = captured = false;
    capture().shareableContent(true, false, [&](ShareableContent) { listed = true; });
    capture().captureWindow(201, sized(100, 80), [&](CaptureResult) { captured = true; });
    desktop::advance(0.49);
    EXPECT_FALSE(listed);
    EXPECT_FALSE(captured);
    desktop::advance(0.01);
    EXPECT_TRUE(listed);
    EXPECT_TRUE(captured);
    json state = desktop::state()["capture"];
    EXPECT_EQ(state["latency"], 0.5);
    EXPECT_EQ(state["listings"], 1);
    EXPECT_EQ(state["captures"], 1);
}

// Tests that the real clock delivers too, without anyone advancing it.
TEST_F(ScreenCaptureTest, RealClockDeliversAfterTheLatency) {
    json scene = captureScene();
    scene["captureLatency"] = 0.05;
    desktop::reset(orvane::test::onScratchDisk(scene), desktop::Clock::real);
    std::optional<CaptureResult> answer;
    capture().captureWindow(401, sized(200, 160), [&](CaptureResult result) { answer = std::move(result); });
    EXPECT_FALSE(answer);
    ASSERT_TRUE(desktop::runUntil([&] { return answer.has_value(); }, 5));
    ASSERT_TRUE(answer->image);
    EXPECT_EQ(answer->image->pixelsWide(), 200);
}

// Tests what the listing holds: every window of the running apps with its
// owner, minimised and hidden apps' windows only when not restricted to the
// screen, a second process of a bundle with its own pid, and our windows.
TEST_F(ScreenCaptureTest, ListingHoldsEveryWindowWithItsOwner) {
    auto ours = ui::Window::create({40, 60, 320, 550}, ui::styleMask::titled | ui::styleMask::closable);
    ours->setTitle("Test");
    ours->orderFront();

    ShareableContent all = list(false);
    ASSERT_FALSE(all.error);
    for (std::uint32_t number : {201u, 202u, 203u, 401u, 402u, 301u}) EXPECT_TRUE(find(all, number)) << number;
    auto safari = find(all, 201);
    ASSERT_TRUE(safari && safari->owningApplication);
    EXPECT_EQ(safari->owningApplication->processID, 501);
    EXPECT_EQ(safari->owningApplication->bundleIdentifier, "com.apple.Safari");
    EXPECT_EQ(safari->title, "Apple");
    EXPECT_EQ(safari->frame, (platform::Rect{100, 100, 800, 600}));
    EXPECT_EQ(safari->windowLayer, 0);
    auto second = find(all, 203);
    ASSERT_TRUE(second && second->owningApplication);
    EXPECT_EQ(second->owningApplication->processID, 502);
    EXPECT_EQ(second->owningApplication->bundleIdentifier, "com.apple.Safari");
    EXPECT_EQ(find(all, 402)->windowLayer, 3);

    auto mine = find(all, static_cast<std::uint32_t>(ours->windowNumber()));
    ASSERT_TRUE(mine && mine->owningApplication);
    EXPECT_EQ(mine->owningApplication->processID, getpid());
    EXPECT_EQ(mine->owningApplication->bundleIdentifier, "com.velisk.orvane");
    EXPECT_EQ(mine->title, "Test");
    // A titled window wears its title bar above its content rectangle.
    EXPECT_EQ(mine->frame, (platform::Rect{40, 60, 320, 578}));

    ShareableContent onScreen = list(true);
    EXPECT_TRUE(find(onScreen, 201));
    EXPECT_TRUE(find(onScreen, 203));
    EXPECT_FALSE(find(onScreen, 202)) << "minimised";
    EXPECT_FALSE(find(onScreen, 301)) << "its application is hidden";
    ours->orderOut();
    EXPECT_FALSE(find(list(true), static_cast<std::uint32_t>(ours->windowNumber())));
    EXPECT_TRUE(find(list(false), static_cast<std::uint32_t>(ours->windowNumber())));
}

// Tests the on-screen order, front to back, as windows are minimised, moved
// to another space, restored, opened and closed and as apps hide.
TEST_F(ScreenCaptureTest, OnScreenOrderFollowsTheWindowServer) {
    using Order = std::vector<std::int64_t>;
    EXPECT_EQ(capture().onScreenWindowOrder(), (Order{402, 201, 203, 401}));
    verb("window restore 202");
    EXPECT_EQ(capture().onScreenWindowOrder(), (Order{402, 202, 201, 203, 401}));
    verb("window minimize 201");
    verb("window space 203");
    EXPECT_EQ(capture().onScreenWindowOrder(), (Order{402, 202, 401}));
    verb("unhide com.apple.mail");
    EXPECT_EQ(capture().onScreenWindowOrder(), (Order{402, 202, 401, 301}));
    json opened = desktop::verb(R"(window open com.apple.Notes {"title": "New", "frame": [10, 10, 300, 200]})");
    ASSERT_TRUE(opened.value("ok", false)) << opened.dump();
    std::int64_t fresh = opened["window"];
    EXPECT_EQ(capture().onScreenWindowOrder(), (Order{402, fresh, 202, 401, 301}));
    verb("window close 202");
    EXPECT_EQ(capture().onScreenWindowOrder(), (Order{402, fresh, 401, 301}));
    EXPECT_FALSE(find(list(false), 202));

    EXPECT_FALSE(desktop::verb("window close 202").value("ok", true));
    EXPECT_FALSE(desktop::verb("window minimize x").value("ok", true));
    EXPECT_FALSE(desktop::verb("window open com.apple.Music {\"frame\": [0, 0, 10, 10]}").value("ok", true));
    EXPECT_FALSE(desktop::verb("window open com.apple.Notes {\"title\": \"no frame\"}").value("ok", true));
    EXPECT_FALSE(desktop::verb("window open com.velisk.orvane {\"frame\": [0, 0, 200, 200]}").value("ok", true))
        << "the host makes its own windows";
}

// Tests the outcomes per app and per window, set by verbs at any moment,
// and the permission in force behind them.
TEST_F(ScreenCaptureTest, DeclinedAndFailedCapturesFollowTheVerbs) {
    verb("capture decline com.apple.Safari");
    EXPECT_TRUE(declined(shoot(201, 100, 80)));
    EXPECT_TRUE(declined(shoot(203, 100, 80))) << "the bundle's second process too";
    EXPECT_FALSE(shoot(401, 100, 80).error);
    verb("capture ok 201");
    EXPECT_FALSE(shoot(201, 100, 80).error) << "the window's own outcome wins";
    EXPECT_TRUE(declined(shoot(203, 100, 80)));

    verb("capture fail com.apple.Notes");
    CaptureResult failed = shoot(401, 100, 80);
    ASSERT_TRUE(failed.error);
    EXPECT_FALSE(declined(failed));
    EXPECT_FALSE(failed.error->description.empty());
    verb(R"(capture fail 401 {"domain": "OtherDomain", "code": -3801, "description": "Broken"})");
    failed = shoot(401, 100, 80);
    ASSERT_TRUE(failed.error);
    EXPECT_EQ(failed.error->domain, "OtherDomain");
    EXPECT_EQ(failed.error->code, -3801);
    EXPECT_EQ(failed.error->description, "Broken");
    EXPECT_FALSE(declined(failed));

    // Decided when the answer is made, not when it was asked for.
    std::optional<CaptureResult> late;
    capture().captureWindow(402, sized(100, 80), [&](CaptureResult r) { late = std::move(r); });
    verb("capture decline 402");
    desktop::advance(0);
    ASSERT_TRUE(late);
    EXPECT_TRUE(declined(*late));

    verb("capture fail listing");
    EXPECT_TRUE(list(false).error);
    EXPECT_TRUE(list(false).windows.empty());
    verb("capture ok listing");
    EXPECT_FALSE(list(false).error);

    EXPECT_FALSE(desktop::verb("capture maybe 201").value("ok", true));
    EXPECT_FALSE(desktop::verb("capture fail 201 {broken").value("ok", true));
    EXPECT_FALSE(desktop::verb("capture decline").value("ok", true));
}

// Tests the permission: the preflight and the permission in force are two
// answers; without the latter everything is declined; request() counts prompts.
TEST_F(ScreenCaptureTest, PermissionDecidesPreflightListingAndCapture) {
    EXPECT_TRUE(capture().preflight());
    verb("revoke screen");
    EXPECT_FALSE(capture().preflight());
    ShareableContent refused = list(false);
    ASSERT_TRUE(refused.error);
    EXPECT_EQ(refused.error->code, platform::screenCaptureError::userDeclined);
    EXPECT_TRUE(declined(shoot(401, 100, 80)));
    EXPECT_TRUE(declined(shoot(99999, 100, 80))) << "refused before the window is looked for";

    EXPECT_FALSE(capture().request());
    EXPECT_FALSE(capture().request());
    EXPECT_EQ(desktop::state()["screenCapture"]["prompts"], 2);

    verb("grant screen-preflight");
    EXPECT_TRUE(capture().preflight());
    EXPECT_TRUE(declined(shoot(401, 100, 80))) << "granted but not yet in force";
    verb("revoke screen-preflight");
    verb("grant screen-recording");
    EXPECT_FALSE(capture().preflight());
    EXPECT_FALSE(shoot(401, 100, 80).error) << "in force although the preflight says no";

    json scene = captureScene();
    scene["screenCaptureGranted"] = false;
    scene["screenCaptureInForce"] = true;
    desktop::reset(orvane::test::onScratchDisk(scene), desktop::Clock::manual);
    EXPECT_FALSE(capture().preflight());
    EXPECT_FALSE(list(true).error);
}

// Tests that windows that are gone, never were, or are asked for at a size
// no picture can have end in an error other than the declined one.
TEST_F(ScreenCaptureTest, MissingWindowsAndImpossibleSizesFail) {
    ShareableContent before = list(false);
    ASSERT_TRUE(find(before, 201));
    verb("window close 201");
    CaptureResult gone = shoot(201, 1440, 1080);
    ASSERT_TRUE(gone.error);
    EXPECT_FALSE(declined(gone));
    EXPECT_FALSE(gone.image);
    verb("quit com.apple.Notes");
    EXPECT_TRUE(shoot(401, 100, 80).error);
    for (std::uint32_t never : {0u, 99999u, 0xFFFFFFFFu}) {
        CaptureResult result = shoot(never, 100, 80);
        EXPECT_TRUE(result.error && !declined(result)) << never;
    }
    struct Ask { int width, height; };
    for (Ask ask : {Ask{0, 0}, Ask{0, 100}, Ask{-5, 100}, Ask{100, -1}, Ask{20000, 10}, Ask{16384, 16384}}) {
        CaptureResult result = shoot(203, ask.width, ask.height);
        ASSERT_TRUE(result.error) << ask.width << "x" << ask.height;
        EXPECT_FALSE(declined(result));
        EXPECT_FALSE(result.image);
    }
    CaptureResult largest = shoot(203, 16384, 8);
    ASSERT_TRUE(largest.image) << "as wide as allowed";
    EXPECT_EQ(largest.image->pixelsWide(), 16384);
}

}  // namespace
