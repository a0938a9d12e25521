// Tests of the settings window itself: how it is made, shown, hidden and
// closed, the frame it keeps across runs of the host, and its picture.

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/ui/Bitmap.h"
#include "platform/ui/Window.h"
#include "tests/settings/SettingsFixture.h"

namespace orvane::testing {
namespace {

namespace ui = platform::ui;

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t bigEndian(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// Tests that the window is made on the first show with its size, style,
// title, title bar, toolbar and minimum size, centred and key, and that the
// snapshot reports it.
TEST_F(SettingsTest, FirstShowMakesTheWindow) {
    startLibrary();
    send("settingsHide");
    EXPECT_FALSE(settings().window()) << "hiding before any show makes nothing";
    EXPECT_EQ(send("snapshot")["settingsVisible"], false);

    send("settingsShow");
    auto window = settings().window();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->styleMask(), 32783u);
    EXPECT_EQ(window->title(), "岚舟");
    EXPECT_EQ(window->contentSize(), (platform::Size{980, 720}));
    EXPECT_EQ(window->minSize(), (platform::Size{860, 620}));
    EXPECT_TRUE(window->titlebarAppearsTransparent());
    EXPECT_EQ(window->toolbarStyle(), 3);
    EXPECT_FALSE(window->isReleasedWhenClosed());
    EXPECT_EQ(window->frameAutosaveName(), "Orvane.NativeSettings");
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isKey());
    auto screen = window->screen();
    ASSERT_TRUE(screen);
    EXPECT_NEAR(window->frame().midX(), screen->visibleFrame.midX(), 1) << "centred";
    EXPECT_GT(window->frame().midY(), screen->visibleFrame.midY()) << "somewhat above the middle";
    EXPECT_EQ(send("snapshot")["settingsVisible"], true);
    EXPECT_EQ(desktop::state()["active"], hostId) << "the menu-bar app comes forward with its window";

    verb("resize 400 300");
    EXPECT_EQ(window->frame().size, (platform::Size{860, 620})) << "no smaller than the minimum size";
    verb("resize 900 650");
    EXPECT_EQ(window->frame().size, (platform::Size{900, 650}));
}

// Tests that the close button, settingsHide and stop only hide the window:
// the same window comes back with the page it showed.
TEST_F(SettingsTest, ClosingHidesTheSameWindow) {
    startLibrary();
    showTab("settings");
    send("settingsShow");
    auto window = settings().window();
    auto close = window->standardButtonFrame(ui::WindowButton::close);
    ASSERT_TRUE(close);
    verb("click " + std::to_string(window->frame().minX() + close->midX()) + " " +
         std::to_string(window->frame().minY() + close->midY()));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(send("snapshot")["settingsVisible"], false);

    send("settingsShow");
    EXPECT_EQ(settings().window(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(hosting().root().title, "偏好设置");
    send("settingsHide");
    EXPECT_FALSE(window->isVisible());
    send("settingsShow");
    send("stop");
    EXPECT_FALSE(window->isVisible());
    controller.reset();
}

// Tests that a frame the person gave the window outlives the host: the next
// run's window opens there instead of centred.
TEST_F(SettingsTest, FrameKeptAcrossRuns) {
    startLibrary();
    send("settingsShow");
    const platform::Rect moved{40, 60, 900, 640};
    settings().window()->setFrame(moved);
    send("stop");
    controller.reset();

    startLibrary();  // a new desktop session on the same disk, as after a restart of the host
    send("settingsShow");
    EXPECT_EQ(settings().window()->frame(), moved);
}

// Tests that capture writes the window's content at the screen's backing
// scale, in the appearance the host chose, and nothing before the first show.
TEST_F(SettingsTest, CaptureWritesSettingsPicture) {
    startLibrary();
    // The folder is a path of the simulated Mac, on its disk.
    const auto folder = disk / "captures";
    std::filesystem::create_directories(folder);
    send("capture", {{"directory", "/captures"}});
    EXPECT_FALSE(std::filesystem::exists(folder / "settings.png"));

    send("settingsShow");
    send("appearance", {{"dark", true}});
    EXPECT_EQ(settings().window()->appearance(), ui::AppearanceName::darkAqua);
    send("capture", {{"directory", "/captures"}});
    const auto png = readFile(folder / "settings.png");
    ASSERT_GE(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_EQ(bigEndian(png, 16), 1960u) << "980 points at the backing scale 2";
    EXPECT_EQ(bigEndian(png, 20), 1440u);

    auto& view = hosting();
    auto bitmap = view.bitmapForCachingDisplay(view.bounds());
    ASSERT_TRUE(bitmap);
    view.cacheDisplay(view.bounds(), *bitmap);
    const auto page = bitmap->pixel(1400, 1300);
    EXPECT_LT(page.r + page.g + page.b, 3 * 80) << "the dark appearance draws a dark page";
}

}  // namespace
}  // namespace orvane::testing
