// Tests of a window's size and place as a person and a later run see them:
// the minimum size holds against setFrame and the resize verb, an autosaved
// frame is kept in the application's preferences on the simulated disk and
// comes back after the desktop is reset on that disk, and the close button
// over full-size content closes through the window's shouldClose.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "desktop/propertylist/PropertyList.h"
#include "platform/Preferences.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "tests/desktop/TemporaryDisk.h"

namespace {

using namespace platform;
using namespace platform::ui;
using nlohmann::json;

constexpr unsigned settingsStyle = 32783;  // titled, closable, miniaturizable, resizable, full-size content
constexpr const char* autosaveName = "Orvane.NativeSettings";
constexpr const char* hostPreferences = "/Users/demo/Library/Preferences/com.velisk.orvane.plist";

json windowState(int number) {
    json state = desktop::state();
    for (const auto& w : state["windows"])
        if (w["number"] == number) return w;
    return nullptr;
}

// Tests that the minimum size raises smaller frames keeping the top-left
// corner, from setFrame and from the resize verb alike, and that larger
// frames pass unchanged.
TEST(WindowFramesTest, MinimumSizeHoldsAgainstEveryResize) {
    orvane::test::TemporaryDisk disk;
    desktop::reset(disk.scene(), desktop::Clock::manual);
    auto window = Window::create({100, 100, 980, 720}, settingsStyle);
    window->setMinSize({860, 620});
    window->setFrame({100, 300, 500, 400});
    EXPECT_EQ(window->frame(), (Rect{100, 80, 860, 620})) << "the top edge stays at 700";

    window->makeKeyAndOrderFront();
    json reply = desktop::verb("resize 300 200");
    ASSERT_EQ(reply["ok"], true) << reply.dump();
    EXPECT_EQ(window->frame(), (Rect{100, 80, 860, 620}));
    reply = desktop::verb("resize 1000 700");
    EXPECT_EQ(window->frame(), (Rect{100, 0, 1000, 700}));
    EXPECT_EQ(reply["frame"], json::array({100, 0, 1000, 700}));
    EXPECT_EQ(desktop::verb("resize 10")["error"], "usage: resize WIDTH HEIGHT");
    EXPECT_EQ(desktop::verb("resize -5 10")["error"], "usage: resize WIDTH HEIGHT");

    // Centred in the visible frame, a third of the free height above.
    auto screen = window->screen();
    ASSERT_TRUE(screen);
    window->center();
    Rect area = screen->visibleFrame;
    EXPECT_EQ(window->frame().minX(), area.midX() - 500);
    EXPECT_NEAR(window->frame().minY(), area.minY() + (area.height() - 700) * 2 / 3, 1e-9);
    EXPECT_NEAR(area.maxY() - window->frame().maxY(), (area.height() - 700) / 3, 1e-9);
    EXPECT_EQ(window->frame().size, (Size{1000, 700}));

    json state = windowState(window->windowNumber());
    EXPECT_EQ(state["minSize"], json::array({860, 620}));
    EXPECT_EQ(state["releasedWhenClosed"], true);
    EXPECT_EQ(state["styleMask"], settingsStyle);
    window->setTitlebarAppearsTransparent(true);
    window->setToolbarStyle(toolbarStyle::unified);
    state = windowState(window->windowNumber());
    EXPECT_EQ(state["titlebarAppearsTransparent"], true);
    EXPECT_EQ(state["toolbarStyle"], 3);
}

// Tests that an autosaved frame is written to the host's preferences on
// disk, survives a reset of the desktop on the same disk (a new run), wins
// over the frame a new window starts with, is clamped to the minimum size,
// and is not found on another disk or when the stored value is garbage.
TEST(WindowFramesTest, AutosavedFrameSurvivesARestartOnTheSameDisk) {
    orvane::test::TemporaryDisk disk;
    desktop::reset(disk.scene(), desktop::Clock::manual);
    {
        auto window = Window::create({40, 80, 980, 720}, settingsStyle);
        window->setFrameAutosaveName(autosaveName);
        EXPECT_EQ(window->frame(), (Rect{40, 80, 980, 720})) << "nothing saved yet: the window stays";
        window->setFrame({300, 200, 900, 650});
    }
    ASSERT_TRUE(disk.exists(hostPreferences));
    auto stored = desktop::parsePropertyList(disk.read(hostPreferences));
    ASSERT_TRUE(stored && stored->is_object());
    std::string value = (*stored)[std::string("NSWindow Frame ") + autosaveName].get<std::string>();
    EXPECT_EQ(value.rfind("300 200 900 650 ", 0), 0u) << value;

    desktop::reset(disk.scene(), desktop::Clock::manual);
    auto again = Window::create({0, 0, 980, 720}, settingsStyle);
    again->setMinSize({860, 620});
    again->setFrameAutosaveName(autosaveName);
    EXPECT_EQ(again->frame(), (Rect{300, 200, 900, 650})) << "the frame of the earlier run wins";

    // A stored frame below the minimum comes back at the minimum.
    again->setMinSize({0, 0});
    again->setFrame({10, 10, 400, 300});
    desktop::reset(disk.scene(), desktop::Clock::manual);
    auto small = Window::create({0, 0, 980, 720}, settingsStyle);
    small->setMinSize({860, 620});
    small->setFrameAutosaveName(autosaveName);
    EXPECT_EQ(small->frame(), (Rect{10, -310, 860, 620}));

    orvane::test::TemporaryDisk other;
    desktop::reset(other.scene(), desktop::Clock::manual);
    auto elsewhere = Window::create({0, 0, 980, 720}, settingsStyle);
    elsewhere->setFrameAutosaveName(autosaveName);
    EXPECT_EQ(elsewhere->frame(), (Rect{0, 0, 980, 720})) << "another disk has no saved frame";

    auto domain = preferences("com.velisk.orvane");
    domain->setValue(std::string("NSWindow Frame ") + autosaveName, json("not a frame"));
    ASSERT_TRUE(domain->synchronize());
    auto garbled = Window::create({5, 5, 980, 720}, settingsStyle);
    garbled->setFrameAutosaveName(autosaveName);
    EXPECT_EQ(garbled->frame(), (Rect{5, 5, 980, 720}));
}

// Tests that a click on the close button of a full-size-content window asks
// shouldClose once and hides the window, while the same spot of a window
// whose title bar is not over its content reaches the content.
TEST(WindowFramesTest, CloseButtonOverFullSizeContentCloses) {
    orvane::test::TemporaryDisk disk;
    desktop::reset(disk.scene(), desktop::Clock::manual);
    auto window = Window::create({100, 100, 980, 720}, settingsStyle);
    window->setToolbarStyle(toolbarStyle::unified);
    window->setHasToolbar(true);
    window->setContentView(std::make_shared<View>());
    int asked = 0;
    window->shouldClose = [&] {
        ++asked;
        window->orderOut();
        return false;
    };
    window->makeKeyAndOrderFront();
    auto close = window->standardButtonFrame(WindowButton::close);
    ASSERT_TRUE(close);
    EXPECT_EQ(*close, (Rect{14, 720 - 26 - 6, 12, 12})) << "centred 20 points in and in the 52-point toolbar";
    json reply = desktop::verb("click " + std::to_string(100 + close->midX()) + " " + std::to_string(100 + close->midY()));
    EXPECT_EQ(reply["windowButton"], "close");
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(window->isVisible());

    window->makeKeyAndOrderFront();
    EXPECT_EQ(desktop::verb("close")["visible"], false) << "the close verb is the same button";
    EXPECT_EQ(asked, 2);

    auto plain = Window::create({100, 100, 400, 300}, styleMask::titled | styleMask::closable);
    plain->setContentView(std::make_shared<View>());
    plain->makeKeyAndOrderFront();
    EXPECT_FALSE(plain->standardButtonFrame(WindowButton::close));
    reply = desktop::verb("click 120 380");
    EXPECT_FALSE(reply.contains("windowButton"));
    EXPECT_TRUE(plain->isVisible());
}

// Tests that a window released when closed is gone after the close button,
// as a freed window is on a Mac, while one kept after a close comes back.
TEST(WindowFramesTest, ReleasedWindowsNeverComeBack) {
    orvane::test::TemporaryDisk disk;
    desktop::reset(disk.scene(), desktop::Clock::manual);
    auto released = Window::create({100, 100, 400, 300}, styleMask::titled | styleMask::closable);
    auto kept = Window::create({200, 200, 400, 300}, styleMask::titled | styleMask::closable);
    kept->setReleasedWhenClosed(false);
    for (const auto& window : {released, kept}) {
        window->makeKeyAndOrderFront();
        EXPECT_EQ(desktop::verb("close")["window"], window->windowNumber());
        window->orderFrontRegardless();
        window->makeKeyAndOrderFront();
    }
    EXPECT_FALSE(released->isVisible());
    EXPECT_EQ(windowState(released->windowNumber())["released"], true);
    EXPECT_TRUE(kept->isVisible());
    EXPECT_EQ(windowState(kept->windowNumber())["released"], false);
    released->orderOut();
    EXPECT_FALSE(released->isVisible());
}

}  // namespace
