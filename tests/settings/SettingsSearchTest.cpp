// Tests of typing in the search of the "add" page: a keystroke replaces only
// the search field and the results and lays out only them, and what the page
// then shows, draws and does on a click is what a page built from scratch
// would show, draw and do.

#include <string>
#include <vector>

#include "platform/ui/Bitmap.h"
#include "platform/ui/Window.h"
#include "tests/settings/SettingsFixture.h"

namespace orvane::testing {
namespace {

namespace declarative = platform::ui::declarative;

class SettingsSearchTest : public SettingsTest {
protected:
    // The add page over Safari (pinned), Mail, Maps and enough other apps that the list scrolls.
    void openCatalogue() {
        startLibrary();
        json installed = json::array({pinnedApp("com.apple.Safari", "Safari"), pinnedApp("com.apple.mail", "Mail"),
                                      pinnedApp("com.apple.Maps", "Maps")});
        for (int i = 0; i < 60; ++i) installed.push_back(pinnedApp("com.filler." + std::to_string(i), "Filler " + std::to_string(i)));
        json values = fullUpdate(json::array({pinnedApp("com.apple.Safari", "Safari")}));
        values["installed"] = installed;
        update(values);
        showTab("add");
        send("settingsShow");
        events();
        press("搜索本机应用");
        hosting().layoutIfNeeded();
    }

    std::vector<std::uint32_t> pixels() {
        auto& view = hosting();
        auto bitmap = view.bitmapForCachingDisplay(view.bounds());
        if (!bitmap) return {};
        view.cacheDisplay(view.bounds(), *bitmap);
        return {bitmap->pixels().begin(), bitmap->pixels().end()};
    }

    // The controls in view, as texts, frames and states, for comparing two layouts.
    std::vector<std::string> controlLines() {
        std::vector<std::string> lines;
        for (const auto& c : hosting().controls())
            lines.push_back(c.accessibilityLabel + "|" + c.text + "|" + std::to_string(c.frame.minX()) + "," +
                            std::to_string(c.frame.minY()) + "," + std::to_string(c.frame.width()) + "," +
                            std::to_string(c.frame.height()) + "|" + (c.enabled ? "on" : "off") + (c.focused ? "|focused" : ""));
        return lines;
    }

    // The views standing for the controls, as the window's view tree and accessibility see them.
    std::vector<std::string> subviewLines() {
        hosting().layoutIfNeeded();
        std::vector<std::string> lines;
        for (const auto& view : hosting().subviews()) {
            const auto f = view->frame();
            lines.push_back(view->accessibilityLabel() + "|" + view->accessibilityRole() + "|" + view->toolTip() + "|" +
                            std::to_string(f.minX()) + "," + std::to_string(f.minY()) + "," + std::to_string(f.width()) + "," +
                            std::to_string(f.height()));
        }
        return lines;
    }

    // Each control in view has its view, in order, with its frame and name.
    void expectViewsStandForControls(const std::string& when) {
        const auto controls = hosting().controls();
        const auto& views = hosting().subviews();
        ASSERT_EQ(views.size(), controls.size()) << when;
        for (std::size_t i = 0; i < views.size(); ++i) {
            EXPECT_TRUE(views[i]->frame() == controls[i].frame) << when << ": " << controls[i].accessibilityLabel;
            EXPECT_EQ(views[i]->toolTip(), controls[i].toolTip) << when;
        }
    }

    // Lays the current tree out again from scratch, no row reused, and checks that it draws
    // and offers exactly what the keystrokes' layout did.
    void expectSameAsFromScratch(const std::string& when) {
        expectViewsStandForControls(when);
        const auto partial = pixels();
        const auto controlsBefore = controlLines();
        const auto viewsBefore = subviewLines();
        const auto fullLayouts = hosting().layoutCount();
        hosting().discardReusedLayouts();
        hosting().setRoot(declarative::Node(hosting().root()));
        EXPECT_EQ(controlLines(), controlsBefore) << when;
        EXPECT_EQ(subviewLines(), viewsBefore) << when << ": the reused control views";
        expectViewsStandForControls(when);
        EXPECT_TRUE(pixels() == partial) << when << ": the page drawn after the keystrokes differs from the page laid out anew";
        EXPECT_EQ(hosting().layoutCount(), fullLayouts + 1);
    }

    // Clicks the control so named (the nth of those so named in view) through the simulated Mac, as the pointer would.
    void click(const std::string& label, std::size_t nth = 0) {
        std::optional<declarative::Control> target;
        for (const auto& each : hosting().controls())
            if ((each.accessibilityLabel == label || each.text == label) && nth-- == 0) {
                target = each;
                break;
            }
        ASSERT_TRUE(target) << label;
        auto window = settings().window();
        verb("click " + std::to_string(window->frame().minX() + target->frame.midX()) + " " +
             std::to_string(window->frame().minY() + target->frame.midY()));
    }

    std::vector<std::string> pinnedIds() {
        std::vector<std::string> ids;
        for (const auto& event : events())
            if (event.value("kind", "") == "pin") ids.push_back(event["app"].value("id", "?"));
        return ids;
    }
    // The apps pinned since last asked, as "id policy".
    std::vector<std::string> pinnedApps() {
        std::vector<std::string> apps;
        for (const auto& event : events())
            if (event.value("kind", "") == "pin") apps.push_back(event["app"].value("id", "?") + " " + event["app"].value("policy", "?"));
        return apps;
    }
};

// Tests that a keystroke lays out only the search field and the results, and
// that the page it leaves draws, names and places its controls as the same
// page laid out from scratch, the field focused with the typed text.
TEST_F(SettingsSearchTest, KeystrokeLaysOutOnlyTheResults) {
    openCatalogue();
    const auto fullLayouts = hosting().layoutCount();
    const auto partialLayouts = hosting().partialLayoutCount();
    const auto rebuilds = settings().rebuildCount();
    type("M");
    type("a");
    hosting().layoutIfNeeded();
    EXPECT_EQ(hosting().layoutCount(), fullLayouts) << "the sidebar, toolbar and search box are not laid out again";
    EXPECT_EQ(hosting().partialLayoutCount(), partialLayouts + 2) << "one layout of the replaced parts per keystroke";
    EXPECT_EQ(settings().rebuildCount(), rebuilds + 2);
    EXPECT_TRUE(control("固定 Mail"));
    EXPECT_TRUE(control("固定 Maps"));
    EXPECT_FALSE(control("固定 Filler 1"));
    ASSERT_TRUE(control("搜索本机应用"));
    EXPECT_TRUE(control("搜索本机应用")->focused);
    EXPECT_EQ(control("搜索本机应用")->text, "Ma");
    expectSameAsFromScratch("after typing");

    hosting().deleteBackward(2);
    type("Fill");
    EXPECT_TRUE(control("固定 Filler 0"));
    expectSameAsFromScratch("a list that scrolls");

    // Scrolled down, the list keeps its offset through a keystroke, cut to the new list's length.
    auto window = settings().window();
    const auto row = control("固定 Filler 0")->frame;
    verb("pointer " + std::to_string(window->frame().minX() + row.midX() - 200) + " " +
         std::to_string(window->frame().minY() + row.midY()));
    verb("scroll 0 -30");
    EXPECT_FALSE(control("固定 Filler 0")) << "scrolled past the first rows";
    type("er 5");
    EXPECT_TRUE(control("固定 Filler 59")) << "eleven rows are shorter than the view: the offset is cut to nothing";
    EXPECT_TRUE(control("固定 Filler 5"));
    expectSameAsFromScratch("after scrolling");
    hosting().deleteBackward(1);
    verb("scroll 0 -30");
    EXPECT_FALSE(control("固定 Filler 0"));
    type("1");
    EXPECT_TRUE(control("固定 Filler 1"));
    expectSameAsFromScratch("scrolled, then typed");
    type("zz");
    EXPECT_FALSE(control("固定 Filler 0"));
    EXPECT_EQ(hosting().listRowsLaidOut(), 0u);
    expectSameAsFromScratch("no results");
    hosting().deleteBackward(20);
    EXPECT_TRUE(control("已固定 Safari"));
    expectSameAsFromScratch("the whole catalogue again");
}

// Tests that rows reused for other apps after typing, deleting and typing
// again show those apps, and that a click on a row's pin button pins the app
// the row shows, while a pinned app's button stays disabled.
TEST_F(SettingsSearchTest, ReusedRowsPinTheAppsTheyShow) {
    openCatalogue();
    type("Ma");
    click("固定 Maps");
    EXPECT_EQ(pinnedIds(), std::vector<std::string>{"com.apple.Maps"});
    hosting().deleteBackward(1);
    type("ai");
    EXPECT_FALSE(control("固定 Maps"));
    click("固定 Mail");
    EXPECT_EQ(pinnedIds(), std::vector<std::string>{"com.apple.mail"});
    hosting().deleteBackward(3);
    type("Saf");
    ASSERT_TRUE(control("已固定 Safari"));
    EXPECT_FALSE(control("已固定 Safari")->enabled);
    click("已固定 Safari");
    EXPECT_EQ(pinnedIds(), std::vector<std::string>{}) << "a pinned app's button takes the click and does nothing";
    hosting().deleteBackward(3);
    type("Filler 4");
    click("固定 Filler 42");
    EXPECT_EQ(pinnedIds(), std::vector<std::string>{"com.filler.42"});
}

// Tests that rows seen before are reused where they appear again (another
// position, a scrolled list), that a row whose app was pinned or unpinned
// meanwhile, or drawn in another appearance, shows its new state, and that the
// page then draws, names and does what the same page laid out anew would.
TEST_F(SettingsSearchTest, RowsSeenBeforeAreReusedWhereverTheyAppear) {
    openCatalogue();
    type("a");
    EXPECT_TRUE(control("已固定 Safari"));
    EXPECT_TRUE(control("固定 Maps"));
    hosting().deleteBackward(1);
    type("M");
    EXPECT_FALSE(control("已固定 Safari"));
    EXPECT_EQ(hosting().subtreesReused(), hosting().listRowsLaidOut()) << "Mail and Maps were in view before, a row lower";
    EXPECT_GT(hosting().subtreesReused(), 0u);
    expectSameAsFromScratch("rows moved up");

    const json safari = pinnedApp("com.apple.Safari", "Safari"), maps = pinnedApp("com.apple.Maps", "Maps");
    update({{"preferences", {{"pinned", json::array({safari, maps})}}}});
    ASSERT_TRUE(control("已固定 Maps")) << "the row of an app pinned meanwhile says so";
    EXPECT_FALSE(control("已固定 Maps")->enabled);
    EXPECT_FALSE(control("固定 Maps"));
    click("固定 Mail");
    EXPECT_EQ(pinnedIds(), std::vector<std::string>{"com.apple.mail"});
    expectSameAsFromScratch("a row pinned meanwhile");
    update({{"preferences", {{"pinned", json::array({safari})}}}});
    ASSERT_TRUE(control("固定 Maps"));
    EXPECT_TRUE(control("固定 Maps")->enabled);
    click("固定 Maps");
    EXPECT_EQ(pinnedIds(), std::vector<std::string>{"com.apple.Maps"});
    expectSameAsFromScratch("a row unpinned again");

    // The whole catalogue scrolled down, then narrowed to the fillers: the rows in view move up by three.
    hosting().deleteBackward(1);
    auto window = settings().window();
    const auto row = control("已固定 Safari")->frame;
    verb("pointer " + std::to_string(window->frame().minX() + row.midX() - 200) + " " +
         std::to_string(window->frame().minY() + row.midY()));
    verb("scroll 0 -20");
    EXPECT_FALSE(control("已固定 Safari"));
    type("F");
    EXPECT_FALSE(control("固定 Mail"));
    EXPECT_GT(hosting().subtreesReused(), 0u) << "fillers in view before the keystroke";
    expectSameAsFromScratch("scrolled");

    send("appearance", {{"dark", true}});
    hosting().layoutIfNeeded();
    EXPECT_EQ(hosting().subtreesReused(), 0u) << "rows laid out in the light appearance are not shown in the dark one";
    type("i");
    hosting().layoutIfNeeded();
    EXPECT_GT(hosting().subtreesReused(), 0u) << "rows laid out in the dark appearance";
    expectSameAsFromScratch("dark");
    send("appearance", {{"dark", false}});
    hosting().layoutIfNeeded();
    EXPECT_EQ(hosting().subtreesReused(), 0u);
    expectSameAsFromScratch("light again");
}

// Tests that the rows a keystroke takes again by key rather than building
// them pin their own apps, also where apps differ only in their identifier
// or in their launch policy (which the pin sends), and that a new catalogue
// lets go of the rows built from the one before.
TEST_F(SettingsSearchTest, RowsTakenByKeyPinTheirOwnApps) {
    startLibrary();
    json values = fullUpdate(json::array());
    values["installed"] = json::array({pinnedApp("com.one.Notes", "Notes"), pinnedApp("com.two.Notes", "Notes"),
                                       pinnedApp("com.one.Notes", "Notes", "accessory"), pinnedApp("com.apple.mail", "Mail")});
    update(values);
    showTab("add");
    send("settingsShow");
    events();
    press("搜索本机应用");
    // Each keystroke laid out, as the window draws it.
    type("Notes");
    hosting().layoutIfNeeded();
    hosting().deleteBackward(5);
    hosting().layoutIfNeeded();
    type("Mail");
    hosting().layoutIfNeeded();
    EXPECT_EQ(hosting().listRowsBuilt(), 0u) << "Mail's row was laid out with the whole catalogue";
    hosting().deleteBackward(4);
    type("Notes");
    hosting().layoutIfNeeded();
    EXPECT_EQ(hosting().listRowsBuilt(), 0u) << "the three rows were laid out two keystrokes before";
    EXPECT_EQ(hosting().listRowsLaidOut(), 3u);
    click("固定 Notes", 0);
    click("固定 Notes", 1);
    click("固定 Notes", 2);
    EXPECT_EQ(pinnedApps(), (std::vector<std::string>{"com.one.Notes auto", "com.two.Notes auto", "com.one.Notes accessory"}));
    expectSameAsFromScratch("rows taken by key");

    const std::weak_ptr<const SettingsModel::Apps> before = settings().model().installed();
    hosting().deleteBackward(5);
    type("Notes");
    update({{"installed", json::array({pinnedApp("com.two.Notes", "Notes", "accessory"), pinnedApp("com.apple.mail", "Mail")})}});
    hosting().layoutIfNeeded();
    EXPECT_TRUE(before.expired()) << "rows kept for their keys hold the catalogue they were built from";
    std::size_t notes = 0;
    for (const auto& each : hosting().controls()) notes += each.accessibilityLabel == "固定 Notes";
    EXPECT_EQ(notes, 1u);
    click("固定 Notes");
    EXPECT_EQ(pinnedApps(), std::vector<std::string>{"com.two.Notes accessory"});
    expectSameAsFromScratch("a new catalogue");
}

// Tests that a page switch and back, which builds the window anew, keeps the
// query and the focus, and that typing afterwards replaces the results of the
// new page rather than of the one before.
TEST_F(SettingsSearchTest, PageSwitchAndBackKeepsTheSearch) {
    openCatalogue();
    type("Ma");
    showTab("apps");
    EXPECT_FALSE(control("固定 Maps"));
    showTab("add");
    EXPECT_EQ(control("搜索本机应用")->text, "Ma");
    EXPECT_TRUE(control("搜索本机应用")->focused);
    EXPECT_TRUE(control("固定 Maps"));
    const auto partialLayouts = hosting().partialLayoutCount();
    type("p");
    hosting().layoutIfNeeded();
    EXPECT_EQ(hosting().partialLayoutCount(), partialLayouts + 1);
    EXPECT_FALSE(control("固定 Mail"));
    click("固定 Maps");
    EXPECT_EQ(pinnedIds(), std::vector<std::string>{"com.apple.Maps"});
    expectSameAsFromScratch("after a page switch");
}

// Tests that a settingsUpdate with new apps while a query is typed shows the
// new apps that match, and that the next keystroke searches the new list.
TEST_F(SettingsSearchTest, NewAppsWhileTypingAreSearched) {
    openCatalogue();
    type("Ma");
    update({{"installed", json::array({pinnedApp("com.apple.Maps", "Maps"), pinnedApp("com.magnet", "Magnet"),
                                       pinnedApp("com.apple.Safari", "Safari")})},
            {"preferences", {{"pinned", json::array({pinnedApp("com.apple.Maps", "Maps")})}}}});
    EXPECT_FALSE(control("固定 Mail")) << "Mail left the catalogue";
    EXPECT_TRUE(control("已固定 Maps")) << "Maps is pinned now";
    EXPECT_TRUE(control("固定 Magnet"));
    type("g");
    EXPECT_FALSE(control("已固定 Maps"));
    click("固定 Magnet");
    EXPECT_EQ(pinnedIds(), std::vector<std::string>{"com.magnet"});
    expectSameAsFromScratch("after new apps");
}

}  // namespace
}  // namespace orvane::testing
