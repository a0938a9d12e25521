// Tests that the picture of the whole simulated screen shows what a person at
// the Mac would see: the desktop, the windows in their order with ours drawn
// from their views, the menu bar with the status items, an open menu, the
// pointer on top, and nothing that is off the screen.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "desktop/pictures/ScreenPicture.h"
#include "desktop/pictures/ShadowImages.h"
#include "orvane_desktop.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Menu.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "tests/desktop/ScratchDisk.h"
#include "tests/support/PngFile.h"
#include "tests/support/SolidView.h"

namespace {

using orvane::test::SolidView;

using nlohmann::json;
namespace ui = platform::ui;

constexpr double screenHeight = 700;

json pictureScene() {
    return json::parse(R"({
      "screens": [{"frame": [0, 0, 1000, 700], "visibleFrame": [0, 76, 1000, 587], "backingScale": 2}],
      "statusBarThickness": 37,
      "pointer": [700, 300],
      "apps": [
        {"bundleId": "com.apple.Notes", "name": "Notes", "path": "/System/Applications/Notes.app",
         "windows": [{"number": 401, "title": "Notes", "frame": [300, 300, 500, 400], "color": "#2050a0"},
                     {"number": 402, "title": "Hidden away", "frame": [820, 100, 150, 150], "color": "#ff00ff",
                      "onScreen": false}]}
      ],
      "active": "com.apple.Notes"
    })");
}

// A PNG read back, sampled in screen points (y upwards) at scale 2; all -1
// outside the picture or when it did not decode.
class Picture : public orvane::test::PngFile {
public:
    using PngFile::PngFile;
    Pixel at(double x, double y) const {
        return pixel(static_cast<int>(x * 2), static_cast<int>((screenHeight - y) * 2));
    }
};

class ScreenPictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        desktop::reset(orvane::test::onScratchDisk(pictureScene()), desktop::Clock::manual);
        // Tests may run side by side in separate processes: each writes its own file.
        path_ = ::testing::TempDir() + "orvane-screen-picture-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png";
        std::remove(path_.c_str());
    }
    void TearDown() override {
        std::remove(path_.c_str());
        desktop::reset(orvane::test::onScratchDisk(json::object()), desktop::Clock::manual);
    }

    std::unique_ptr<Picture> shoot() {
        json reply = desktop::verb("screenshot " + path_);
        EXPECT_TRUE(reply.value("ok", false)) << reply.dump();
        return std::make_unique<Picture>(path_);
    }

    std::string path_;
};

// Tests the layers of the picture by sampling them.
TEST_F(ScreenPictureTest, ShowsWindowsMenuBarStatusItemsMenuAndPointer) {
    auto ours = ui::Window::create({600, 400, 250, 200}, ui::styleMask::titled | ui::styleMask::closable);
    ours->setContentView(std::make_shared<SolidView>(platform::Rect{0, 0, 250, 200}, ui::Color::rgba(1, 0, 0)));
    ours->orderFront();
    auto item = ui::systemStatusBar().statusItem(30);
    item->setView(std::make_shared<SolidView>(platform::Rect{0, 0, 30, 37}, ui::Color::rgba(0, 1, 0)));
    auto menu = std::make_shared<ui::Menu>();
    menu->addItem(std::make_shared<ui::MenuItem>("打开", "open:", ""));
    menu->addItem(std::make_shared<ui::MenuItem>("退出", "quit:", "q"));
    ui::Menu::popUp(menu, {100, 600}, nullptr);

    auto picture = shoot();
    ASSERT_TRUE(picture->valid());
    EXPECT_EQ(picture->width(), 2000);
    EXPECT_EQ(picture->height(), 1400);

    auto body = picture->at(797, 350);
    EXPECT_NEAR(body.r, 0x20, 1) << "the Notes window's body";
    EXPECT_NEAR(body.g, 0x50, 1);
    EXPECT_NEAR(body.b, 0xa0, 1);
    auto ourContent = picture->at(750, 450);
    EXPECT_EQ(ourContent.r, 255) << "our window in front, its view drawn";
    EXPECT_EQ(ourContent.g, 0);
    auto titleBar = picture->at(830, 600 + 14);
    EXPECT_NEAR(titleBar.r, titleBar.b, 3) << "our window's title bar above its content";
    EXPECT_GT(titleBar.r, 200);

    auto statusItem = item->window()->frame();
    auto green = picture->at(statusItem.midX(), statusItem.midY());
    EXPECT_EQ(green.g, 255) << "the status item's view in the menu bar";
    EXPECT_EQ(green.r, 0);

    // The menu's material is light, tinted by the desktop beneath it.
    auto inMenu = picture->at(150, 590), desktopBeside = picture->at(150, 500);
    EXPECT_GT(inMenu.r, 200) << "the open menu's panel";
    EXPECT_GT(inMenu.b, inMenu.r) << "the blue of the desktop shows through";
    EXPECT_GT(inMenu.r, desktopBeside.r + 40);

    auto pointer = picture->at(702, 292);
    EXPECT_EQ(pointer.r + pointer.g + pointer.b, 0) << "the arrow's black inside, below its tip";

    auto offScreen = picture->at(900, 180);
    EXPECT_FALSE(offScreen.r > 240 && offScreen.g < 20 && offScreen.b > 240) << "a minimised window is not on screen";

    // The menu bar is lighter than the desktop just below it.
    auto bar = picture->at(950, 690), below = picture->at(950, 640);
    EXPECT_GT(bar.r + bar.g + bar.b, below.r + below.g + below.b);

    desktop::verb("appearance dark");
    auto dark = shoot();
    ASSERT_TRUE(dark->valid());
    auto darkBar = dark->at(950, 690);
    EXPECT_LT(darkBar.r + darkBar.g + darkBar.b, bar.r + bar.g + bar.b) << "the dark appearance darkens the menu bar";
}

// Whether two pictures hold the same pixels; where they first differ when not.
::testing::AssertionResult samePixels(const ui::Bitmap& a, const ui::Bitmap& b) {
    if (a.pixelsWide() != b.pixelsWide() || a.pixelsHigh() != b.pixelsHigh())
        return ::testing::AssertionFailure() << "sizes differ";
    for (std::size_t i = 0; i < a.pixels().size(); ++i)
        if (a.pixels()[i] != b.pixels()[i])
            return ::testing::AssertionFailure() << "pixel " << i % a.pixelsWide() << "," << i / a.pixelsWide() << " differs";
    return ::testing::AssertionSuccess();
}

// The part of a whole picture at scale 2 that a region (points, y upwards, on
// whole pixels) covers.
ui::Bitmap cropped(const ui::Bitmap& whole, platform::Rect region) {
    int left = static_cast<int>(region.minX() * 2), top = static_cast<int>((screenHeight - region.maxY()) * 2);
    int wide = static_cast<int>(region.width() * 2), high = static_cast<int>(region.height() * 2);
    ui::Bitmap part(wide, high, region.size);
    for (int y = 0; y < high; ++y)
        for (int x = 0; x < wide; ++x)
            part.pixels()[static_cast<std::size_t>(y * wide + x)] =
                whole.pixels()[static_cast<std::size_t>((top + y) * whole.pixelsWide() + left + x)];
    return part;
}

// Tests that pictures drawn with the shadows kept from earlier pictures, whole
// or in parts, hold exactly the pixels of pictures drawn afresh while windows
// change size, place, title, shape and appearance.
TEST_F(ScreenPictureTest, KeptShadowsDrawTheSamePixelsAsFreshOnes) {
    auto ours = ui::Window::create({100, 150, 250, 200}, ui::styleMask::titled | ui::styleMask::closable);
    ours->setContentView(std::make_shared<SolidView>(platform::Rect{0, 0, 250, 200}, ui::Color::rgba(1, 0, 0)));
    ours->orderFront();
    // Parts the live view draws: across our window's shadow, across the
    // foreign window's edge, and one far from both.
    const platform::Rect parts[] = {{64, 96, 128, 96}, {256, 256, 96, 160}, {900, 500, 64, 32}};
    auto check = [&](const char* step) {
        SCOPED_TRACE(step);
        auto kept = desktop::screenPicture();
        std::vector<std::shared_ptr<ui::Bitmap>> keptParts;
        for (auto part : parts) keptParts.push_back(desktop::screenPicture(part, 2));
        desktop::chrome::forgetShadowImages();
        auto fresh = desktop::screenPicture();
        ASSERT_TRUE(kept && fresh);
        EXPECT_TRUE(samePixels(*kept, *fresh)) << "the whole screen";
        for (std::size_t i = 0; i < std::size(parts); ++i) {
            ASSERT_TRUE(keptParts[i]);
            EXPECT_TRUE(samePixels(*keptParts[i], cropped(*fresh, parts[i]))) << "part " << i;
        }
    };
    check("as the scene starts");
    ours->setFrame({100, 150, 300, 200});
    check("our window wider");
    ours->setFrame({100, 150, 300, 180});
    check("our window lower");
    ours->setFrame({140, 120, 300, 180});
    check("our window moved");
    ours->setTitle("Renamed");
    check("our window's title");
    ours->setAppearance(ui::AppearanceName::darkAqua);
    check("our window's appearance");
    auto panel = ui::Window::create({240, 300, 250, 200}, ui::styleMask::borderless);
    panel->setContentView(std::make_shared<SolidView>(platform::Rect{0, 0, 250, 200}, ui::Color::rgba(0, 0, 1)));
    panel->orderFront();
    check("a borderless window of our window's size");
    panel->setOpaque(false);
    check("the borderless window translucent");
    desktop::verb("appearance dark");
    check("the system's appearance");
    desktop::verb("pointer 300 300");
    check("the pointer moved");
}

// Tests that the picture is refused, not crashed, without a screen or a place to write it.
TEST_F(ScreenPictureTest, RefusesWithoutScreenOrWritableFile) {
    EXPECT_FALSE(desktop::verb("screenshot").value("ok", true));
    EXPECT_FALSE(desktop::verb("screenshot /nonexistent-folder/x/screen.png").value("ok", true));
    EXPECT_EQ(orvane_desktop_screenshot(nullptr), 0);
    EXPECT_EQ(orvane_desktop_screenshot(path_.c_str()), 1);
    EXPECT_TRUE(Picture(path_).valid());
    json scene = pictureScene();
    scene["screens"] = json::array();
    desktop::reset(orvane::test::onScratchDisk(scene), desktop::Clock::manual);
    EXPECT_FALSE(desktop::verb("screenshot " + path_).value("ok", true));
    EXPECT_EQ(orvane_desktop_screenshot(path_.c_str()), 0);
}

}  // namespace

namespace {

// Tests that a menu's material blurs what lies beneath it: across the edge of
// the window under the menu, the panel's colour changes gradually.
TEST_F(ScreenPictureTest, MenuBlursWhatLiesBeneath) {
    auto menu = std::make_shared<ui::Menu>();
    for (const char* title : {"一", "二", "三", "四"}) menu->addItem(std::make_shared<ui::MenuItem>(title, "pick:", ""));
    ui::Menu::popUp(menu, {240, 390}, nullptr);
    auto picture = shoot();
    ASSERT_TRUE(picture->valid());
    // Notes' blue window starts at x 300; the menu's panel spans it from 240.
    auto left = picture->at(288, 340), edge = picture->at(300, 340), right = picture->at(312, 340);
    ASSERT_GT(left.r, right.r + 20) << "the window beneath darkens the panel";
    EXPECT_GT(edge.r, right.r + 4) << "no sharp edge: the window's border is blurred";
    EXPECT_LT(edge.r, left.r - 4);
    desktop::verb("dismiss");
}

// Tests that a region of the screen is pictured at the scale asked for, shows
// what the whole picture shows there, and is refused off the screen or at an
// unreasonable scale.
TEST_F(ScreenPictureTest, PicturesARegionAtItsOwnScale) {
    auto whole = shoot();
    ASSERT_TRUE(whole->valid());
    json reply = desktop::verb("screenshot " + path_ + " 300 300 500 400 3");
    ASSERT_TRUE(reply.value("ok", false)) << reply.dump();
    orvane::test::PngFile region(path_);
    ASSERT_TRUE(region.valid());
    EXPECT_EQ(region.width(), 1500);
    EXPECT_EQ(region.height(), 1200);
    // The middle of Notes' window, #2050a0 in its body, in both pictures.
    auto inRegion = region.pixel(750, 750), inWhole = whole->at(550, 450);
    EXPECT_NEAR(inRegion.b, inWhole.b, 8);
    EXPECT_NEAR(inRegion.r, inWhole.r, 8);

    // Four numbers alone take the screen's scale.
    ASSERT_TRUE(desktop::verb("screenshot " + path_ + " 0 0 100 50").value("ok", false));
    orvane::test::PngFile atScreenScale(path_);
    EXPECT_EQ(atScreenScale.width(), 200);
    EXPECT_EQ(atScreenScale.height(), 100);

    EXPECT_FALSE(desktop::verb("screenshot " + path_ + " 2000 2000 100 100 2").value("ok", true));
    EXPECT_FALSE(desktop::verb("screenshot " + path_ + " 0 0 100 100 9").value("ok", true));
    EXPECT_FALSE(desktop::verb("screenshot " + path_ + " 0 0 -5 100 2").value("ok", true));
}

// Tests that a scene with a clock shows it at the right end of the menu bar,
// lays the host's status items out left of the part the system and other
// applications take, and draws another application's item where its frame is.
TEST_F(ScreenPictureTest, MenuBarShowsTheClockAndOtherApplicationsItems) {
    json scene = pictureScene();
    scene["menuBarClock"] = "12月8日 周二 09:41";
    scene["menuBarOccupiedWidth"] = 200;
    scene["apps"].push_back({{"bundleId", "com.getdropbox.dropbox"}, {"name", "Dropbox"},
                             {"path", "/Applications/Dropbox.app"}, {"activationPolicy", "accessory"},
                             {"extras", {{{"frame", {800, 0, 30, 37}}}}}});
    desktop::reset(orvane::test::onScratchDisk(scene), desktop::Clock::manual);
    auto item = ui::systemStatusBar().statusItem(40);
    ASSERT_TRUE(item->window());
    EXPECT_EQ(item->window()->frame().maxX(), 800) << "the host's item sits left of the occupied end";

    auto picture = shoot();
    ASSERT_TRUE(picture->valid());
    auto darkest = [&](double fromX, double toX) {
        int least = 255 * 3;
        for (double x = fromX; x < toX; x += 0.5)
            for (double y = 670; y < 695; y += 0.5) {
                auto p = picture->at(x, y);
                least = std::min(least, p.r + p.g + p.b);
            }
        return least;
    };
    EXPECT_LT(darkest(900, 1000), 300) << "the clock's digits are drawn at the right end";
    EXPECT_LT(darkest(805, 825), 300) << "Dropbox's own item is drawn in its frame";
    EXPECT_GT(darkest(600, 700), 500) << "nothing is drawn in the empty part of the bar";
    ui::systemStatusBar().removeStatusItem(item);
}

}  // namespace
