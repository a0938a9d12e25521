// Tests of the strip's two menus as built from plain inputs: items, titles,
// actions, key equivalents, represented entries, icons and placement.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/ui/Image.h"
#include "platform/ui/Menu.h"
#include "strip/AppMenus.h"

namespace {

using orvane::AppEntry;
using orvane::AppMenuActions;
using platform::ui::MenuItem;

AppEntry entry(const std::string& id) { return {id, "App " + id, "/Applications/" + id + ".app", "auto"}; }

// Records which action ran with which item's represented entry.
struct Recorder {
    std::vector<std::string> calls;
    AppMenuActions actions() {
        auto record = [this](const char* what) {
            return [this, what](MenuItem& item) {
                auto* dictionary = std::any_cast<nlohmann::json>(&item.representedObject);
                calls.push_back(std::string(what) + ":" + (dictionary ? dictionary->value("id", "?") : "none"));
            };
        };
        return {record("launch"), record("pin"), record("reveal"), [this] { calls.push_back("settings"); },
                [this] { calls.push_back("quit"); }};
    }
};

void choose(MenuItem& item) {
    ASSERT_TRUE(item.isEnabled()) << item.title();
    ASSERT_TRUE(item.action) << item.title();
    item.action(item);
}

// Tests the context menu: open or switch, the pin item's two titles, and
// Finder, each carrying the entry's four-key dictionary.
TEST(AppMenus, ContextMenuOffersOpenPinAndReveal) {
    Recorder recorder;
    auto menu = orvane::AppMenus::contextMenu(entry("b"), false, recorder.actions());
    ASSERT_EQ(menu->items().size(), 3u);
    const auto& items = menu->items();
    EXPECT_EQ(items[0]->title(), "打开 / 切换");
    EXPECT_EQ(items[0]->actionName(), "menuLaunch:");
    EXPECT_EQ(items[1]->title(), "固定到应用栏");
    EXPECT_EQ(items[1]->actionName(), "pinAction:");
    EXPECT_EQ(items[2]->title(), "在 Finder 中显示");
    EXPECT_EQ(items[2]->actionName(), "revealAction:");
    for (const auto& item : items) {
        EXPECT_EQ(item->keyEquivalent(), "");
        auto* dictionary = std::any_cast<nlohmann::json>(&item->representedObject);
        ASSERT_TRUE(dictionary);
        EXPECT_EQ(*dictionary, (nlohmann::json{{"id", "b"}, {"name", "App b"}, {"path", "/Applications/b.app"},
                                               {"policy", "auto"}}));
        choose(*item);
    }
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"launch:b", "pin:b", "reveal:b"}));

    auto pinned = orvane::AppMenus::contextMenu(entry("b"), true, recorder.actions());
    EXPECT_EQ(pinned->items()[1]->title(), "取消固定");
    choose(*pinned->items()[1]);
    EXPECT_EQ(recorder.calls.back(), "pin:b") << "unpinning sends the same pin action";
    EXPECT_TRUE(orvane::AppMenus::isPinned(entry("b"), {entry("a"), {"b", "other", "/x.app", "always"}}));
    EXPECT_FALSE(orvane::AppMenus::isPinned(entry("c"), {entry("a")}));
}

// Tests the all-applications menu: heading, pinned first, running extras
// once each, bullets for running ones, 18 pt icon copies, settings and quit.
TEST(AppMenus, AllAppsListsPinnedThenRunningOnce) {
    Recorder recorder;
    auto icon = platform::ui::Image::withDrawing({512, 512}, [](platform::ui::Canvas&, platform::Rect) {});
    orvane::AllAppsInputs inputs;
    inputs.pinned = {entry("a"), entry("b")};
    inputs.running = {entry("b"), entry("c"), entry("c")};
    inputs.isRunning = [](const AppEntry& e) { return e.id != "a"; };
    inputs.icon = [&](const AppEntry& e) { return e.id == "c" ? nullptr : icon; };
    auto menu = orvane::AppMenus::allAppsMenu(inputs, recorder.actions());
    const auto& items = menu->items();
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items[0]->title(), "岚舟 · 所有应用");
    EXPECT_FALSE(items[0]->isEnabled()) << "a heading";
    EXPECT_EQ(items[1]->title(), "App a");
    EXPECT_EQ(items[2]->title(), "App b  •");
    EXPECT_EQ(items[3]->title(), "App c  •");
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(items[i]->actionName(), "menuLaunch:");
        EXPECT_EQ(items[i]->keyEquivalent(), "");
        choose(*items[i]);
    }
    ASSERT_TRUE(items[1]->image);
    EXPECT_NE(items[1]->image, icon) << "a copy";
    EXPECT_EQ(items[1]->image->size(), platform::Size(18, 18));
    EXPECT_EQ(icon->size(), platform::Size(512, 512)) << "the cached icon keeps its size";
    EXPECT_FALSE(items[3]->image);
    EXPECT_TRUE(items[4]->isSeparator());
    EXPECT_EQ(items[5]->title(), "设置…");
    EXPECT_EQ(items[5]->keyEquivalent(), ",");
    EXPECT_EQ(items[5]->actionName(), "settingsAction");
    EXPECT_EQ(items[6]->title(), "退出 岚舟");
    EXPECT_EQ(items[6]->keyEquivalent(), "q");
    EXPECT_EQ(items[6]->actionName(), "quitAction");
    choose(*items[5]);
    choose(*items[6]);
    EXPECT_EQ(recorder.calls,
              (std::vector<std::string>{"launch:a", "launch:b", "launch:c", "settings", "quit"}));
}

// Tests that with nothing pinned or running the menu holds only the heading,
// the separator, settings and quit, and that missing lookups do not fail.
TEST(AppMenus, EmptyAllAppsMenu) {
    auto menu = orvane::AppMenus::allAppsMenu({}, {});
    ASSERT_EQ(menu->items().size(), 4u);
    EXPECT_EQ(menu->items()[0]->title(), "岚舟 · 所有应用");
    EXPECT_TRUE(menu->items()[1]->isSeparator());
    EXPECT_EQ(menu->items()[2]->title(), "设置…");
    EXPECT_EQ(menu->items()[3]->title(), "退出 岚舟");
    EXPECT_FALSE(menu->items()[2]->action) << "no settings callback given";

    orvane::AllAppsInputs inputs;
    inputs.pinned = {entry("a")};
    auto bare = orvane::AppMenus::allAppsMenu(inputs, {});
    EXPECT_EQ(bare->items()[1]->title(), "App a") << "no running test: no bullet";
    EXPECT_FALSE(bare->items()[1]->image);
}

// Tests that the all-apps menu hangs 26 pt left of the strip's right end, never left of 0.
TEST(AppMenus, AllAppsMenuHangsUnderTheManager) {
    EXPECT_EQ(orvane::AppMenus::allAppsLocation({0, 0, 206, 24}), platform::Point(180, 0));
    EXPECT_EQ(orvane::AppMenus::allAppsLocation({0, 0, 35, 24}), platform::Point(9, 0));
    EXPECT_EQ(orvane::AppMenus::allAppsLocation({0, 0, 20, 24}), platform::Point(0, 0));
}

}  // namespace
