// Tests that the simulated Mac's window server routes the pointer the way
// the platform does (hit-testing by level and order, tracking areas, clicks,
// right clicks and scrolls), lays out status items, keeps popped-up menus
// open until chosen or dismissed, and numbers, orders and places windows.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "desktop/scripting/ControlVerbs.h"
#include "desktop/windowserver/WindowServer.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Button.h"
#include "platform/ui/Event.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Screen.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/TrackingArea.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace {

using nlohmann::json;
using namespace platform;
using namespace platform::ui;

// A view that tracks its bounds as the strip does and logs what reaches it.
class ProbeView : public View {
public:
    ProbeView(Rect frame, std::string name, std::vector<std::string>* log) : View(frame), name_(std::move(name)), log_(log) {}

    void updateTrackingAreas() override {
        if (track && keepArea) return;
        if (track) removeTrackingArea(track);
        track = std::make_shared<TrackingArea>(TrackingArea{bounds(), tracking::mouseEnteredAndExited | tracking::activeAlways, weak_from_this()});
        addTrackingArea(track);
        View::updateTrackingAreas();
    }
    void mouseEntered(const Event&) override {
        log_->push_back("enter " + name_);
        if (onEnter) onEnter();
    }
    void mouseExited(const Event&) override { log_->push_back("exit " + name_); }
    void mouseDown(const Event& e) override { log_->push_back("down " + name_); last = e; }
    void rightMouseDown(const Event& e) override { log_->push_back("right " + name_); last = e; }
    void scrollWheel(const Event& e) override {
        log_->push_back("scroll " + name_);
        last = e;
    }

    std::shared_ptr<TrackingArea> track;
    Event last;
    std::function<void()> onEnter;
    bool keepArea = false;  // an area made once, like a view that sets it up at creation

private:
    std::string name_;
    std::vector<std::string>* log_;
};

class WindowServerTest : public ::testing::Test {
protected:
    void SetUp() override { desktop::resetWindowServer(scene()); }
    void TearDown() override { desktop::resetWindowServer(json::object()); }

    static json scene() {
        return json::parse(R"({
          "screens": [{"frame": [0, 0, 1512, 982], "visibleFrame": [0, 0, 1512, 945], "backingScale": 2},
                      {"frame": [1512, 0, 800, 600], "visibleFrame": [1512, 0, 800, 576], "backingScale": 1}],
          "statusBarThickness": 24,
          "pointer": [5, 5],
          "apps": [{"bundleId": "com.apple.Safari", "pid": 501,
                    "windows": [{"number": 40, "title": "Start", "frame": [600, 100, 300, 300], "layer": 0, "color": "#3366cc"},
                                {"number": 41, "title": "Over", "frame": [900, 100, 100, 100], "layer": 25}]}]
        })");
    }

    static json verb(const std::string& line) {
        std::istringstream in(line);
        std::vector<std::string> words;
        for (std::string w; in >> w;) words.push_back(w);
        auto reply = desktop::windowServerVerb(words);
        return reply ? *reply : json("not a window-server verb");
    }

    std::shared_ptr<Window> window(Rect frame, int level = windowLevel::normal) {
        auto w = Window::create(frame, styleMask::borderless);
        w->setLevel(level);
        w->orderFront();
        return w;
    }

    std::shared_ptr<ProbeView> probe(Rect frame, const std::string& name) { return std::make_shared<ProbeView>(frame, name, &log); }

    std::vector<std::string> log;
};

// Tests that the frontmost window by level, then by order, receives a click,
// and that a foreign window of a higher layer covers ours.
TEST_F(WindowServerTest, HitTestingFollowsLevelThenOrder) {
    auto floating = window({100, 100, 200, 200}, windowLevel::floating);
    floating->setContentView(probe({}, "floating"));
    auto back = window({100, 100, 400, 400});
    back->setContentView(probe({}, "back"));
    auto front = window({100, 100, 400, 400});
    front->setContentView(probe({}, "front"));

    EXPECT_EQ(verb("click 150 150")["window"], floating->windowNumber()) << "a higher level wins over order";
    EXPECT_EQ(verb("click 450 450")["window"], front->windowNumber()) << "the later ordered-in window is in front";
    back->orderFront();
    EXPECT_EQ(verb("click 450 450")["window"], back->windowNumber());
    std::vector<std::string> downs;
    std::copy_if(log.begin(), log.end(), std::back_inserter(downs), [](const std::string& e) { return e.starts_with("down"); });
    EXPECT_EQ(downs, (std::vector<std::string>{"down floating", "down front", "down back"}));

    auto covered = window({900, 100, 100, 100}, windowLevel::floating);
    covered->setContentView(probe({}, "covered"));
    json reply = verb("click 950 150");
    EXPECT_EQ(reply["window"], 41) << "the foreign window at layer 25 covers a floating window";
    EXPECT_TRUE(reply["view"].is_null());
    EXPECT_EQ(verb("click 650 150")["window"], 40) << "a foreign normal window is hit where ours are not";

    desktop::removeWindowsOfProcess(501);
    EXPECT_EQ(verb("click 950 150")["window"], covered->windowNumber()) << "the quit app's windows are gone";
    front->orderOut();
    back->orderOut();
    EXPECT_TRUE(verb("click 450 450")["window"].is_null());
}

// Tests that tracking areas report entry and exit, innermost exit first and
// outermost entry first, and that covering a window ends its areas.
TEST_F(WindowServerTest, TrackingAreasReportEnterAndExit) {
    auto w = window({100, 100, 200, 50});
    auto outer = probe({}, "outer");
    auto inner = probe({20, 10, 30, 30}, "inner");
    outer->addSubview(inner);
    w->setContentView(outer);

    verb("pointer 110 110");
    EXPECT_EQ(log, (std::vector<std::string>{"enter outer"}));
    verb("pointer 125 120");
    verb("pointer 130 125");
    EXPECT_EQ(log, (std::vector<std::string>{"enter outer", "enter inner"})) << "moving inside an area reports nothing";
    verb("pointer 50 50");
    EXPECT_EQ(log, (std::vector<std::string>{"enter outer", "enter inner", "exit inner", "exit outer"}));

    log.clear();
    inner->keepArea = true;
    outer->onEnter = [&] { inner->removeFromSuperview(); };
    verb("pointer 130 125");
    EXPECT_EQ(log, (std::vector<std::string>{"enter outer"})) << "a view removed by an earlier handler hears nothing";
    outer->onEnter = nullptr;
    outer->addSubview(inner);
    verb("pointer 50 50");
    log.clear();
    verb("pointer 130 125");
    auto cover = window({0, 0, 1000, 1000}, windowLevel::floating);
    verb("pointer 131 125");
    EXPECT_EQ(log, (std::vector<std::string>{"enter outer", "enter inner", "exit inner", "exit outer"}))
        << "a window ordered over the pointer takes it from the areas below";
}

// Tests that an area added under the resting pointer reports no entry but
// reports its exit on the first move that leaves it, also after rebuilding.
TEST_F(WindowServerTest, AreaAddedUnderRestingPointerStillExits) {
    verb("pointer 150 120");
    auto w = window({100, 100, 200, 50});
    auto strip = probe({}, "strip");
    w->setContentView(strip);
    verb("pointer 151 121");
    EXPECT_TRUE(log.empty()) << "an area that appears around the pointer is inside without an entry";
    verb("pointer 150 300");
    EXPECT_EQ(log, (std::vector<std::string>{"exit strip"}));

    log.clear();
    verb("pointer 150 120");
    ASSERT_EQ(log, (std::vector<std::string>{"enter strip"}));
    strip->updateTrackingAreas();  // the strip replaces its area, as on every resize
    verb("pointer 150 300");
    EXPECT_EQ(log, (std::vector<std::string>{"enter strip", "exit strip"}));
}

// Tests that clicks, right clicks and scrolls reach the hit view with window
// coordinates, that buttons run their action, and that scrolls pass up.
TEST_F(WindowServerTest, ClicksRightClicksAndScrollsReachTheHitView) {
    auto w = window({100, 100, 200, 50});
    auto root = probe({}, "root");
    auto button = std::make_shared<Button>(Rect{10, 10, 30, 30});
    int taps = 0;
    button->setAction("tap", [&] { ++taps; });
    root->addSubview(button);
    w->setContentView(root);

    json reply = verb("click 115 115");
    EXPECT_EQ(taps, 1);
    EXPECT_EQ(reply["window"], w->windowNumber());
    button->setEnabled(false);
    verb("click 115 115");
    EXPECT_EQ(taps, 1) << "a disabled button ignores clicks";

    verb("rightclick 250 130");
    ASSERT_EQ(log.back(), "right root");
    EXPECT_EQ(root->last.locationInWindow, (Point{150, 30}));
    EXPECT_EQ(root->last.screenLocation, (Point{250, 130}));
    EXPECT_EQ(root->last.windowNumber, w->windowNumber());

    verb("pointer 115 115");
    log.clear();
    verb("scroll 0 -5 precise");
    ASSERT_EQ(log, (std::vector<std::string>{"scroll root"})) << "the button passes the scroll to its superview";
    EXPECT_EQ(root->last.scrollingDeltaY, -5);
    EXPECT_TRUE(root->last.hasPreciseScrollingDeltas);
    verb("scroll 1 0");
    EXPECT_EQ(root->last.scrollingDeltaX, 1);
    EXPECT_FALSE(root->last.hasPreciseScrollingDeltas) << "a wheel line";
    EXPECT_EQ(mouseLocation(), (Point{115, 115}));
}

// Tests that status items sit right to left in the first screen's menu-bar
// band, follow length changes and close ranks when one is removed.
TEST_F(WindowServerTest, StatusItemsLayOutRightToLeft) {
    auto& bar = systemStatusBar();
    EXPECT_EQ(bar.thickness(), 24);
    auto first = bar.statusItem(40);
    auto second = bar.statusItem(29);
    // The 37-point band centres the 24-point items: 982 - 18.5 - 12.
    EXPECT_EQ(first->window()->frame(), (Rect{1472, 951.5, 40, 24}));
    EXPECT_EQ(second->window()->frame(), (Rect{1443, 951.5, 29, 24}));
    EXPECT_EQ(first->window()->level(), 25);
    EXPECT_EQ(first->window()->styleMask(), styleMask::borderless);
    EXPECT_TRUE(first->window()->isVisible());
    EXPECT_EQ(first->window()->contentView(), first->button()) << "without a view the button shows";

    first->setLength(206);
    EXPECT_EQ(first->window()->frame(), (Rect{1306, 951.5, 206, 24}));
    EXPECT_EQ(second->window()->frame().minX(), 1277);

    auto strip = probe({0, 0, 40, 24}, "strip");
    first->setView(strip);
    EXPECT_EQ(strip->window(), first->window());
    EXPECT_EQ(strip->frame(), (Rect{0, 0, 206, 24}));
    second->button()->setAccessibilityLabel("manager");
    second->setAutosaveName("OrvaneManager");

    json items = desktop::windowServerState()["statusItems"];
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1]["autosaveName"], "OrvaneManager");
    EXPECT_EQ(items[1]["button"]["accessibilityLabel"], "manager");
    EXPECT_EQ(items[0]["frame"], json::parse("[1306, 951.5, 206, 24]"));

    auto firstWindow = first->window();
    bar.removeStatusItem(first);
    EXPECT_EQ(first->window(), nullptr);
    EXPECT_FALSE(firstWindow->isVisible());
    EXPECT_EQ(strip->window(), nullptr) << "the view leaves the removed item's window";
    EXPECT_EQ(second->window()->frame().minX(), 1483);
    EXPECT_EQ(desktop::windowServerState()["statusItems"].size(), 1u);
}

// Tests that a popped-up menu stays open with its items until an enabled
// item is chosen or it is dismissed, and that a new popup replaces it.
TEST_F(WindowServerTest, MenusStayOpenUntilChosenOrDismissed) {
    auto w = window({100, 100, 200, 24});
    auto anchor = probe({}, "anchor");
    w->setContentView(anchor);

    auto menu = std::make_shared<Menu>();
    auto heading = std::make_shared<MenuItem>("Heading", "", "");
    auto launch = std::make_shared<MenuItem>("Safari  •", "menuLaunch:", "");
    auto quit = std::make_shared<MenuItem>("Quit", "quitAction", "q");
    std::vector<std::string> chosen;
    launch->action = [&](MenuItem& item) { chosen.push_back(item.title()); };
    quit->action = [&](MenuItem& item) { chosen.push_back(item.title()); };
    menu->addItem(heading);
    menu->addItem(MenuItem::separator());
    menu->addItem(launch);
    menu->addItem(quit);

    Menu::popUp(menu, {174, 0}, anchor);
    json open = verb("menu")["menu"];
    EXPECT_EQ(open["location"], json::parse("[274, 100]"));
    ASSERT_EQ(open["items"].size(), 4u);
    EXPECT_EQ(open["items"][0]["enabled"], false) << "an item without action is a heading";
    EXPECT_EQ(open["items"][1]["separator"], true);
    EXPECT_EQ(open["items"][3]["keyEquivalent"], "q");

    EXPECT_EQ(verb("choose Heading")["ok"], false);
    EXPECT_EQ(verb("choose Nothing")["ok"], false);
    EXPECT_FALSE(verb("menu")["menu"].is_null()) << "a failed choice leaves the menu open";
    EXPECT_EQ(verb("choose Safari •")["ok"], true) << "spaces typed as separate words still match";
    EXPECT_EQ(chosen, (std::vector<std::string>{"Safari  •"}));
    EXPECT_TRUE(verb("menu")["menu"].is_null());
    EXPECT_EQ(verb("choose Quit")["ok"], false) << "nothing is open any more";

    verb("rightclick 150 110");
    Event event = anchor->last;
    Menu::popUpContextMenu(menu, event, anchor);
    auto other = std::make_shared<Menu>("Other");
    Menu::popUp(other, {0, 0}, anchor);
    EXPECT_EQ(verb("menu")["menu"]["title"], "Other") << "a new popup replaces the open menu";
    Menu::popUpContextMenu(menu, event, anchor);
    EXPECT_EQ(verb("menu")["menu"]["location"], json::parse("[150, 110]"));

    verb("dismiss");
    verb("pointer 500 500");
    Menu::popUpContextMenu(menu, event, anchor);
    log.clear();
    verb("pointer 150 110");
    EXPECT_TRUE(log.empty()) << "the open menu's tracking keeps the pointer from the views";
    json reply = verb("click 150 110");
    EXPECT_EQ(reply["dismissedMenu"], true);
    EXPECT_TRUE(log.empty()) << "the click that closes a menu goes no further";
    verb("pointer 151 110");
    EXPECT_EQ(log, (std::vector<std::string>{"enter anchor"})) << "the first move after the menu closed reports the entry";
    Menu::popUp(menu, {0, 0}, anchor);
    EXPECT_EQ(verb("dismiss")["dismissed"], true);
    EXPECT_EQ(verb("dismiss")["dismissed"], false);
    EXPECT_EQ(chosen.size(), 1u);
}

// Tests that window numbers are unique and growing past the scene's, that
// ordering out hides, and that a window's screen and key status drive the
// main screen and the scale of its offscreen bitmaps.
TEST_F(WindowServerTest, WindowNumbersOrderingAndScreens) {
    auto a = Window::create({1600, 100, 100, 100}, styleMask::titled);
    auto b = Window::create({100, 100, 100, 100}, styleMask::titled);
    EXPECT_GT(a->windowNumber(), 41) << "numbers never collide with the scene's";
    EXPECT_GT(b->windowNumber(), a->windowNumber());
    EXPECT_FALSE(a->isVisible());

    ASSERT_TRUE(a->screen());
    EXPECT_EQ(a->screen()->backingScale, 1);
    EXPECT_EQ(b->screen()->backingScale, 2);
    auto view = std::make_shared<View>();
    a->setContentView(view);
    auto bitmap = view->bitmapForCachingDisplay(view->bounds());
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->pixelsWide(), 100) << "a scale-1 screen renders one pixel per point";

    EXPECT_EQ(mainScreen()->frame.minX(), 0) << "without a key window the first screen is main";
    a->makeKeyAndOrderFront();
    EXPECT_TRUE(a->isKey());
    EXPECT_EQ(mainScreen()->frame.minX(), 1512);
    a->orderOut();
    EXPECT_FALSE(a->isKey());
    EXPECT_EQ(mainScreen()->frame.minX(), 0);

    EXPECT_EQ(Window::create({5000, 5000, 10, 10}, 0)->screen(), std::nullopt);

    b->setFrameAutosaveName("Settings");
    b->setFrame({200, 200, 300, 300});
    auto again = Window::create({0, 0, 10, 10}, styleMask::titled);
    again->setFrameAutosaveName("Settings");
    EXPECT_EQ(again->frame(), (Rect{200, 200, 300, 300})) << "the frame kept under the autosave name comes back";

    b->orderFront();
    json windows = desktop::windowServerState()["windows"];
    ASSERT_GE(windows.size(), 3u);
    EXPECT_EQ(windows[0]["number"], 41) << "layer 25 first";
    EXPECT_EQ(windows[1]["number"], b->windowNumber());
    EXPECT_EQ(windows[2]["number"], 40);
    EXPECT_EQ(windows[1]["styleMask"], styleMask::titled);
}

// Tests that a person resizes or closes only a window that has a resize
// corner or a close button: a borderless panel (the card, a status item's
// window) keeps its frame and stays on screen.
TEST_F(WindowServerTest, ResizeAndCloseNeedTheCornerAndTheButton) {
    auto panel = window({100, 100, 200, 100});
    panel->makeKeyAndOrderFront();
    EXPECT_EQ(desktop::controlVerb("resize 300 200")->value("ok", true), false);
    EXPECT_EQ(desktop::controlVerb("close")->value("ok", true), false);
    EXPECT_EQ(panel->frame(), (Rect{100, 100, 200, 100}));
    EXPECT_TRUE(panel->isVisible());

    auto fixed = Window::create({100, 100, 200, 100}, styleMask::titled | styleMask::closable);
    fixed->makeKeyAndOrderFront();
    EXPECT_EQ(desktop::controlVerb("resize 300 200")->value("ok", true), false) << "no resize corner";
    EXPECT_EQ(fixed->frame().width(), 200);

    auto sizable = Window::create({100, 100, 200, 100}, styleMask::titled | styleMask::closable | styleMask::resizable);
    sizable->makeKeyAndOrderFront();
    EXPECT_EQ(desktop::controlVerb("resize 300 200")->value("ok", false), true);
    EXPECT_EQ(sizable->frame().width(), 300);
    EXPECT_EQ(sizable->frame().maxY(), 200) << "the top edge stays where it was";
    EXPECT_EQ(desktop::controlVerb("close")->value("ok", false), true);
    EXPECT_FALSE(sizable->isVisible());
}

// Tests that malformed verbs fail with a message and change nothing, and
// that the screens and appearance verbs replace what they name.
TEST_F(WindowServerTest, VerbsRejectMalformedInputAndReplaceScreens) {
    for (const char* line : {"pointer", "pointer 1", "pointer x 2", "pointer 1 2 3", "pointer nan 2", "click 1e999 2",
                             "rightclick", "scroll 1", "scroll 1 2 fast", "menu now", "choose", "dismiss all",
                             "screens", "screens {", "screens [1]", "screens [{\"frame\":[0,0,-1,5]}]",
                             "screens [[[[[[[[[[[[[[[[[[[[[[[[[[[[[[]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]", "appearance",
                             "appearance blue"}) {
        json reply = verb(line);
        EXPECT_EQ(reply["ok"], false) << line;
        EXPECT_TRUE(reply["error"].is_string()) << line;
    }
    EXPECT_EQ(desktop::windowServerState()["pointer"], json::parse("[5, 5]"));
    EXPECT_EQ(screens().size(), 2u);
    EXPECT_FALSE(desktop::windowServerVerb({"launch", "x"}).has_value()) << "other verbs are not the window server's";
    EXPECT_FALSE(desktop::windowServerVerb({}).has_value());

    auto item = systemStatusBar().statusItem(40);
    EXPECT_EQ(verb(R"(screens [{"frame": [0, 0, 1000, 700], "visibleFrame": [0, 0, 1000, 676], "safeAreaTop": 0}])")["ok"], true);
    ASSERT_EQ(screens().size(), 1u);
    EXPECT_EQ(screens()[0].backingScale, 2);
    EXPECT_EQ(item->window()->frame(), (Rect{960, 676, 40, 24})) << "status items follow the new menu bar";

    EXPECT_EQ(systemAppearance(), AppearanceName::aqua);
    verb("appearance dark");
    EXPECT_EQ(systemAppearance(), AppearanceName::darkAqua);
    EXPECT_EQ(desktop::windowServerState()["appearance"], "dark");
}

}  // namespace
