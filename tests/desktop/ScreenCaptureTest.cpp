// Tests that the simulated Mac's screen-recording service answers like the
// real one: later and on the main run loop, with the windows the window
// server knows (minimised ones and other processes of a bundle included),
// pictures of exactly the requested size that show the window, and the
// declined and failed answers the scene and the verbs ask for.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "platform/ScreenCapture.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "tests/desktop/ScratchDisk.h"
#include "tests/support/SolidView.h"

namespace {

using orvane::test::SolidView;

using nlohmann::json;
using platform::CaptureConfiguration;
using platform::CaptureResult;
using platform::ShareableContent;
using platform::ShareableWindow;
namespace ui = platform::ui;

json captureScene() {
    return json::parse(R"({
      "screens": [{"frame": [0, 0, 1512, 982], "visibleFrame": [0, 0, 1512, 945], "backingScale": 2}],
      "screenCaptureGranted": true,
      "apps": [
        {"bundleId": "com.apple.Safari", "name": "Safari", "path": "/Applications/Safari.app", "pid": 501,
         "windows": [{"number": 201, "title": "Apple", "frame": [100, 100, 800, 600], "color": "#f5f5f7"},
                     {"number": 202, "title": "Start", "frame": [150, 150, 700, 500], "onScreen": false}]},
        {"bundleId": "com.apple.Safari", "name": "Safari", "path": "/Applications/Safari.app", "pid": 502,
         "windows": [{"number": 203, "title": "Private", "frame": [200, 200, 600, 400]}]},
        {"bundleId": "com.apple.Notes", "name": "Notes", "path": "/System/Applications/Notes.app", "pid": 601,
         "windows": [{"number": 401, "title": "Notes", "frame": [300, 300, 500, 400], "color": "#2050a0"},
                     {"number": 402, "title": "Palette", "frame": [320, 320, 200, 200], "layer": 3}]},
        {"bundleId": "com.apple.mail", "name": "Mail", "path": "/System/Applications/Mail.app", "pid": 701,
         "hidden": true, "windows": [{"number": 301, "title": "Inbox", "frame": [50, 50, 900, 600]}]}
      ]
    })");
}

class ScreenCaptureTest : public ::testing::Test {
protected:
    void SetUp() override { desktop::reset(orvane::test::onScratchDisk(captureScene()), desktop::Clock::manual); }
    void TearDown() override { desktop::reset(orvane::test::onScratchDisk(json::object()), desktop::Clock::manual); }

    static platform::ScreenCapture& capture() { return platform::screenCapture(); }

    static ShareableContent list(bool onScreenOnly) {
        std::optional<ShareableContent> answer;
        capture().shareableContent(true, onScreenOnly, [&](ShareableContent content) { answer = std::move(content); });
        desktop::advance(0);
        EXPECT_TRUE(answer) << "the listing never arrived";
        return answer.value_or(ShareableContent{});
    }

    static CaptureResult shoot(std::uint32_t window, int width, int height, bool scalesToFit = true) {
        std::optional<CaptureResult> answer;
        CaptureConfiguration configuration;
        configuration.width = width;
        configuration.height = height;
        configuration.scalesToFit = scalesToFit;
        capture().captureWindow(window, configuration, [&](CaptureResult result) { answer = std::move(result); });
        desktop::advance(0);
        EXPECT_TRUE(answer) << "the capture never arrived";
        return answer.value_or(CaptureResult{});
    }

    static std::optional<ShareableWindow> find(const ShareableContent& content, std::uint32_t number) {
        for (const auto& window : content.windows)
            if (window.windowID == number) return window;
        return std::nullopt;
    }

    static void verb(const std::string& line) {
        json reply = desktop::verb(line);
        ASSERT_TRUE(reply.value("ok", false)) << line << ": " << reply.dump();
    }
};

CaptureConfiguration sized(int width, int height) {
    CaptureConfiguration configuration;
    configuration.width = width;
    configuration.height = height;
    return configuration;
}

bool declined(const CaptureResult& result) {
    return result.error && result.error->domain == platform::screenCaptureError::streamDomain &&
           result.error->code == platform::screenCaptureError::userDeclined;
}

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

// Tests that a picture has exactly the pixel size asked for, fitted or not.
TEST_F(ScreenCaptureTest, PictureHasExactlyTheRequestedPixelSize) {
    struct Ask {
        int width, height;
        bool fit;
    };
    for (Ask ask : {Ask{1440, 1080, true}, Ask{1, 1, true}, Ask{333, 777, true}, Ask{1600, 1200, false}, Ask{50, 900, false}}) {
        CaptureResult result = shoot(201, ask.width, ask.height, ask.fit);
        ASSERT_FALSE(result.error) << result.error->description;
        ASSERT_TRUE(result.image);
        EXPECT_EQ(result.image->pixelsWide(), ask.width);
        EXPECT_EQ(result.image->pixelsHigh(), ask.height);
        EXPECT_EQ(result.image->pixels().size(), static_cast<std::size_t>(ask.width) * ask.height);
    }
}

// Tests a few pixels: the title bar is a neutral grey band, the close button
// red, the body the window's own colour, and two windows differ.
TEST_F(ScreenCaptureTest, PictureShowsTitleBarButtonsAndBody) {
    // 500 x 400 points at 2 pixels per point.
    CaptureResult notes = shoot(401, 1000, 800);
    ASSERT_TRUE(notes.image);
    const ui::Bitmap& image = *notes.image;
    auto titleBar = image.pixel(1000 - 40, 10);
    EXPECT_EQ(titleBar.a, 255);
    EXPECT_NEAR(titleBar.r, titleBar.g, 3);
    EXPECT_NEAR(titleBar.g, titleBar.b, 3);
    EXPECT_GT(titleBar.r, 200) << "light title bar in the light appearance";
    auto close = image.pixel(28, 28);
    EXPECT_GT(close.r, 200);
    EXPECT_LT(close.g, 140);
    auto body = image.pixel(1000 - 4, 500);
    EXPECT_NEAR(body.r, 0x20, 1);
    EXPECT_NEAR(body.g, 0x50, 1);
    EXPECT_NEAR(body.b, 0xa0, 1);
    EXPECT_EQ(image.pixel(0, 0).a, 0) << "rounded corner";

    auto lightBody = shoot(201, 800, 600).image->pixel(800 - 4, 300);
    EXPECT_GT(lightBody.r + lightBody.g + lightBody.b, 3 * 230) << "Safari's light body in the light appearance";

    // In the dark appearance applications follow the system: a light body
    // turns dark grey, one the scene made dark keeps its colour.
    verb("appearance dark");
    auto dark = shoot(401, 1000, 800).image;
    EXPECT_LT(dark->pixel(1000 - 40, 10).r, 90) << "dark title bar in the dark appearance";
    auto darkBody = dark->pixel(1000 - 4, 500);
    EXPECT_NEAR(darkBody.r, 0x20, 1);
    EXPECT_NEAR(darkBody.b, 0xa0, 1);
    auto turned = shoot(201, 800, 600).image->pixel(800 - 4, 300);
    EXPECT_LT(turned.r + turned.g + turned.b, 3 * 70) << "Safari's light body drawn dark";
    EXPECT_GT(turned.r, 20) << "dark grey, not black";
    EXPECT_NEAR(turned.r, turned.b, 3);
    verb("appearance light");

    // Same size, same colour, different windows: the made-up content differs.
    json scene = captureScene();
    scene["apps"][0]["windows"][1] = {{"number", 204}, {"title", "Apple"}, {"frame", {100, 100, 800, 600}}, {"color", "#f5f5f7"}};
    desktop::reset(orvane::test::onScratchDisk(scene), desktop::Clock::manual);
    auto first = shoot(201, 800, 600).image;
    auto second = shoot(204, 800, 600).image;
    ASSERT_TRUE(first && second);
    EXPECT_NE(first->pixels(), second->pixels());
    EXPECT_EQ(first->pixels(), shoot(201, 800, 600).image->pixels()) << "the same window looks the same each time";
}

// Tests that a window of ours is pictured as it is on screen: its title bar
// over the content its views draw, and a full-size content view under a
// transparent title bar.
TEST_F(ScreenCaptureTest, OurWindowIsPicturedWithItsChromeAndContent) {
    auto window = ui::Window::create({100, 100, 300, 200}, ui::styleMask::titled | ui::styleMask::closable);
    window->setContentView(std::make_shared<SolidView>(platform::Rect{0, 0, 300, 200}, ui::Color::rgba(1, 0, 0)));
    window->orderFront();
    auto number = static_cast<std::uint32_t>(window->windowNumber());
    // 300 x 228 points with the title bar, twice over.
    CaptureResult framed = shoot(number, 600, 456, false);
    ASSERT_TRUE(framed.image);
    auto bar = framed.image->pixel(560, 20);
    EXPECT_NEAR(bar.r, bar.b, 3) << "grey title bar above the content";
    auto content = framed.image->pixel(300, 300);
    EXPECT_EQ(content.r, 255);
    EXPECT_EQ(content.g, 0);

    auto full = ui::Window::create({100, 100, 300, 200},
                                   ui::styleMask::titled | ui::styleMask::closable | ui::styleMask::fullSizeContentView);
    full->setContentView(std::make_shared<SolidView>(platform::Rect{0, 0, 300, 200}, ui::Color::rgba(0, 0, 1)));
    full->orderFront();
    CaptureResult underBar = shoot(static_cast<std::uint32_t>(full->windowNumber()), 600, 400, false);
    ASSERT_TRUE(underBar.image);
    auto top = underBar.image->pixel(560, 20);
    EXPECT_EQ(top.b, 255) << "the content shows through a transparent title bar";
    // The close button sits on it where the window says; pixel rows run down from the top.
    auto close = full->standardButtonFrame(ui::WindowButton::close);
    ASSERT_TRUE(close);
    auto button = underBar.image->pixel(int(close->midX() * 2), int((200 - close->midY()) * 2));
    EXPECT_GT(button.r, 150) << "the close button still sits on the blue content";

    // An enormous window costs no more than the picture it is shrunk into.
    auto huge = ui::Window::create({0, 0, 1e6, 1e6}, ui::styleMask::borderless);
    huge->setContentView(std::make_shared<SolidView>(platform::Rect{0, 0, 1e6, 1e6}, ui::Color::rgba(0, 1, 0)));
    huge->orderFront();
    CaptureResult shrunk = shoot(static_cast<std::uint32_t>(huge->windowNumber()), 100, 100);
    ASSERT_TRUE(shrunk.image);
    EXPECT_EQ(shrunk.image->pixel(50, 50).g, 255);
    CaptureResult corner = shoot(static_cast<std::uint32_t>(huge->windowNumber()), 100, 100, false);
    ASSERT_TRUE(corner.image);
    EXPECT_EQ(corner.image->pixel(50, 50).g, 255);
}

// Tests that a scene's plain pictures show another application's window as
// one flat rectangle of its colour where it lands, with no title bar and
// transparent letterbox around it, at the size asked for, while a window of
// ours is still drawn in full.
TEST_F(ScreenCaptureTest, PlainPicturesAreFlatRectanglesOfTheWindowsColour) {
    json scene = captureScene();
    scene["windowPictures"] = "plain";
    desktop::reset(orvane::test::onScratchDisk(scene), desktop::Clock::manual);
    // Notes' window is 500 x 400 points in #2050a0: fitted into 1000 x 1000
    // it covers rows 100..899 at full width.
    CaptureResult notes = shoot(401, 1000, 1000);
    ASSERT_TRUE(notes.image);
    EXPECT_EQ(notes.image->pixelsWide(), 1000);
    EXPECT_EQ(notes.image->pixelsHigh(), 1000);
    for (auto [x, y] : {std::pair{0, 100}, {999, 100}, {500, 500}, {0, 899}, {999, 899}}) {
        auto pixel = notes.image->pixel(x, y);
        EXPECT_EQ((std::array{pixel.r, pixel.g, pixel.b, pixel.a}), (std::array{0x20, 0x50, 0xa0, 255}))
            << "the body colour at " << x << "," << y << ", title bar and corners included";
    }
    for (auto [x, y] : {std::pair{500, 99}, {500, 900}, {0, 0}, {999, 999}})
        EXPECT_EQ(notes.image->pixel(x, y).a, 0) << "transparent around the window at " << x << "," << y;

    auto window = ui::Window::create({100, 100, 300, 200}, ui::styleMask::titled | ui::styleMask::closable);
    window->setContentView(std::make_shared<SolidView>(platform::Rect{0, 0, 300, 200}, ui::Color::rgba(1, 0, 0)));
    window->orderFront();
    CaptureResult ours = shoot(static_cast<std::uint32_t>(window->windowNumber()), 600, 456, false);
    ASSERT_TRUE(ours.image);
    auto bar = ours.image->pixel(560, 20);
    EXPECT_NEAR(bar.r, bar.b, 3) << "our window keeps its grey title bar";
    EXPECT_EQ(ours.image->pixel(300, 300).r, 255) << "and the content its views draw";
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
