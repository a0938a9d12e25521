// Tests the pictures the simulated screen-recording service hands back:
// exactly the requested size, another application's window with its title
// bar, buttons and body in either appearance, a window of ours as it is on
// screen, and a scene's plain pictures.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "platform/ScreenCapture.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "tests/desktop/ScreenCaptureFixture.h"
#include "tests/support/SolidView.h"

namespace {

using orvane::test::captureScene;
using orvane::test::declined;
using orvane::test::ScreenCaptureTest;
using orvane::test::sized;
using orvane::test::SolidView;

using nlohmann::json;
using platform::CaptureConfiguration;
using platform::CaptureResult;
using platform::ShareableContent;
using platform::ShareableWindow;
namespace ui = platform::ui;

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

}  // namespace
