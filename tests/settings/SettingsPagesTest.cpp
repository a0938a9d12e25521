// Tests of the settings pages as a person sees them: what each page shows
// for the model, and how the page switch, the search and bad input behave.

#include <unistd.h>

#include <functional>

#include "platform/Utf8.h"
#include "platform/ui/Window.h"
#include "settings/AppSearch.h"
#include "tests/settings/SettingsFixture.h"

namespace orvane::testing {
namespace {

namespace declarative = platform::ui::declarative;
using Role = declarative::Control::Role;

bool hasKind(const declarative::Node& node, declarative::Kind kind) {
    if (node.kind == kind) return true;
    for (const auto* group : {&node.children, &node.header, &node.toolbar})
        for (const auto& child : *group)
            if (hasKind(child, kind)) return true;
    return false;
}

bool hasControl(platform::ui::HostingView& view, Role role, const std::string& text) {
    for (const auto& control : view.controls())
        if (control.role == role && control.text == text) return true;
    return false;
}

// Tests the sidebar, the title and the toolbar of each page, and that a page
// name the window does not know shows the pinned apps with the apps toolbar.
TEST_F(SettingsTest, SidebarTitleAndToolbarFollowThePage) {
    startLibrary();
    send("settingsShow");
    EXPECT_TRUE(shows("岚舟"));
    EXPECT_TRUE(shows("Velisk  0.2.2"));
    EXPECT_TRUE(shows("⌘ ⌥ Space"));
    EXPECT_TRUE(shows("打开完整应用列表"));
    EXPECT_EQ(hosting().root().title, "应用栏");
    EXPECT_TRUE(control("应用栏")->selected);
    EXPECT_TRUE(hasControl(hosting(), Role::toolbarItem, "导入当前 Dock"));
    EXPECT_TRUE(hasControl(hosting(), Role::toolbarItem, "添加应用"));
    EXPECT_EQ(control("从工具栏导入当前 Dock")->toolTip, "复制固定应用和顺序，保留原 Dock 列表");
    EXPECT_EQ(control("收起窗口")->toolTip, "收起窗口，菜单栏继续运行");

    for (const auto& [tab, title] : {std::pair{"add", "添加应用"}, std::pair{"settings", "偏好设置"}}) {
        showTab(tab);
        EXPECT_EQ(hosting().root().title, title);
        EXPECT_FALSE(hasControl(hosting(), Role::toolbarItem, "导入当前 Dock")) << tab;
        EXPECT_FALSE(hasControl(hosting(), Role::toolbarItem, "添加应用")) << tab;
        EXPECT_TRUE(hasControl(hosting(), Role::toolbarItem, "收起窗口")) << tab;
    }
    EXPECT_TRUE(shows("将应用栏居中显示"));

    showTab("nowhere");
    EXPECT_EQ(model().tab(), "nowhere");
    EXPECT_EQ(hosting().root().title, "应用栏");
    EXPECT_TRUE(control("应用栏")->selected);
    EXPECT_TRUE(hasControl(hosting(), Role::toolbarItem, "添加应用"));
    EXPECT_TRUE(shows("常用应用，随手可达"));
}

// Tests that "loadInstalled" is sent once for each switch to the page
// "add" while the window exists, whether by sidebar, toolbar or command, and
// not when the window first shows a page that already is "add".
TEST_F(SettingsTest, LoadInstalledOncePerSwitchToAdd) {
    startLibrary();
    showTab("add");
    send("settingsShow");
    EXPECT_EQ(events(), json::array()) << "the window opened on the page; nothing switched";

    showTab("apps");
    press("添加应用");  // the sidebar row
    press("添加应用");
    showTab("add");
    EXPECT_EQ(eventKinds(), (std::vector<std::string>{"loadInstalled"}));

    showTab("apps");
    std::optional<declarative::Control> toolbarAdd;
    for (auto& each : hosting().controls())
        if (each.role == Role::toolbarItem && each.text == "添加应用") toolbarAdd = each;
    ASSERT_TRUE(toolbarAdd);
    auto window = settings().window();
    const auto point = toolbarAdd->frame.origin;
    verb("click " + std::to_string(window->frame().minX() + point.x + toolbarAdd->frame.width() / 2) + " " +
         std::to_string(window->frame().minY() + point.y + toolbarAdd->frame.height() / 2));
    EXPECT_EQ(model().tab(), "add");
    showTab("settings");
    send("settingsHide");
    showTab("add");
    EXPECT_EQ(eventKinds(), (std::vector<std::string>{"loadInstalled", "loadInstalled"}))
        << "the toolbar button, then a command while the window is hidden";
}

// Tests the banner: the error wins over the information, each with its symbol,
// and both vanish only when the host sends empty texts.
TEST_F(SettingsTest, BannerShowsTheFailureFirst) {
    startLibrary();
    send("settingsShow");
    EXPECT_FALSE(control("关闭提示"));
    update({{"message", "已导入"}, {"failure", "导入失败"}});
    EXPECT_TRUE(shows("导入失败"));
    EXPECT_FALSE(shows("已导入"));
    EXPECT_EQ(control("关闭提示")->toolTip, "关闭提示");
    update({{"message", "已导入"}});
    EXPECT_TRUE(shows("已导入"));
    press("关闭提示");
    EXPECT_TRUE(shows("已导入")) << "the banner waits for the host";
    update(json::object());
    EXPECT_FALSE(control("关闭提示"));
}

// Tests a message of megabytes: the banner lays out only the start it can show,
// ended by an ellipsis and cut between characters, and keeps the whole text as
// what it is called for accessibility.
TEST_F(SettingsTest, LongBannerIsCutBeforeItIsLaidOut) {
    startLibrary();
    send("settingsShow");
    std::string message;
    while (message.size() < 3'000'000) message += "导入完成 imported ";
    update({{"message", message}});
    std::function<const declarative::Node*(const declarative::Node&)> find = [&](const declarative::Node& node) -> const declarative::Node* {
        if (node.kind == declarative::Kind::text && node.accessibilityLabel == message) return &node;
        for (const auto& child : node.children)
            if (const auto* found = find(child)) return found;
        return nullptr;
    };
    const auto* banner = find(hosting().root());
    ASSERT_TRUE(banner) << "the whole message stays the banner's accessibility text";
    EXPECT_LT(banner->text.size(), 40'000u);
    ASSERT_GT(banner->text.size(), 3u);
    EXPECT_EQ(banner->text.substr(banner->text.size() - 3), "\xE2\x80\xA6");
    const std::string shown = banner->text.substr(0, banner->text.size() - 3);
    EXPECT_EQ(message.compare(0, shown.size(), shown), 0) << "the start of the message, cut between characters";
    EXPECT_TRUE(platform::isValidUtf8(shown));
    EXPECT_TRUE(control("关闭提示")) << "the close button stays in view";

    update({{"message", "已导入"}});
    EXPECT_TRUE(shows("已导入")) << "a short message is shown whole";
}

// Tests that the pages show what the host sent: counters, the undo button,
// the permission rows, the Dock status and the title of the Dock button.
TEST_F(SettingsTest, PagesShowTheHostState) {
    startLibrary();
    update(fullUpdate(json::array({pinnedApp("com.a", "Alpha"), pinnedApp("com.b", "Beta")})));
    send("settingsShow");
    EXPECT_TRUE(shows("已固定 2"));
    EXPECT_TRUE(shows("栏内 2"));
    EXPECT_TRUE(shows("已让位 1"));
    EXPECT_FALSE(control("撤销导入"));
    showTab("settings");
    EXPECT_TRUE(shows("未开启"));
    EXPECT_TRUE(control("开启持续隐藏"));
    EXPECT_TRUE(control("辅助功能的系统设置…")) << "trusted";
    EXPECT_TRUE(shows("已允许"));
    EXPECT_TRUE(control("前往授权屏幕录制…"));
    EXPECT_TRUE(shows("未生效"));

    update({{"preferences", {{"dockPersistent", true}, {"hasUndo", true}}},
            {"state", {{"screenCapture", true}, {"dockStatus", "已隐藏 · 自动保持"}}}});
    EXPECT_TRUE(shows("已隐藏 · 自动保持"));
    EXPECT_TRUE(control("恢复原生 Dock"));
    EXPECT_FALSE(control("开启持续隐藏"));
    EXPECT_TRUE(control("前往授权辅助功能…"));
    EXPECT_TRUE(control("屏幕录制的系统设置…"));
    showTab("apps");
    EXPECT_TRUE(control("撤销导入"));
    EXPECT_TRUE(shows("已固定 0"));
}

// Tests the catalogue: search by typing, ignoring case, pinned apps shown as
// "已固定" and disabled, the progress line and the standard no-results view.
TEST_F(SettingsTest, CatalogueSearchAndPinnedRows) {
    startLibrary();
    update({{"preferences", {{"pinned", json::array({pinnedApp("com.apple.Safari", "Safari")})}}},
            {"installed", json::array({pinnedApp("com.apple.Safari", "Safari"), pinnedApp("com.apple.mail", "Mail"),
                                       pinnedApp("com.apple.Maps", "Maps")})}});
    showTab("add");
    send("settingsShow");
    EXPECT_FALSE(control("已固定 Safari")->enabled);
    EXPECT_EQ(control("已固定 Safari")->text, "已固定");
    EXPECT_EQ(control("固定 Mail")->text, "固定");
    EXPECT_EQ(hosting().press("已固定 Safari"), declarative::Outcome::disabled);

    press("搜索本机应用");
    type("MA");
    EXPECT_EQ(model().query(), "MA");
    EXPECT_FALSE(control("已固定 Safari"));
    EXPECT_TRUE(control("固定 Mail"));
    EXPECT_TRUE(control("固定 Maps"));
    type("IL");
    EXPECT_FALSE(control("固定 Maps"));
    type("x");
    EXPECT_FALSE(control("固定 Mail"));
    EXPECT_EQ(hosting().listRowsLaidOut(), 0u) << "no results is not an empty list";
    EXPECT_TRUE(hasKind(hosting().root(), declarative::Kind::emptySearch));
    press("清空搜索");
    EXPECT_EQ(model().query(), "");
    EXPECT_TRUE(control("固定 Maps"));

    update({{"loading", true}});
    EXPECT_TRUE(shows("正在读取本机应用…"));
    EXPECT_FALSE(control("固定 Maps"));
    EXPECT_EQ(events(), json::array()) << "typing and clearing ask the host for nothing";
}

// Tests that the search compares composed, case-folded text: accents typed
// as combining marks, emoji and scripts without case.
TEST(AppSearchTest, MatchesIgnoringCaseAndComposition) {
    EXPECT_TRUE(AppSearch("CAFE\u0301").matches("Le Café"));
    EXPECT_TRUE(AppSearch("é").matches("ÉCRAN"));
    EXPECT_FALSE(AppSearch("e").matches("Écran")) << "an accented letter is its own letter";
    EXPECT_TRUE(AppSearch("🚀").matches("Rocket 🚀 Launch"));
    EXPECT_FALSE(AppSearch("🚀").matches("Rocket"));
    EXPECT_TRUE(AppSearch("微信").matches("微信 WeChat"));
    EXPECT_TRUE(AppSearch("STRASSE").matches("straße")) << "case folding, not lower-casing";
    EXPECT_TRUE(AppSearch("").matches("anything"));
    EXPECT_FALSE(AppSearch("\xff").matches("plain")) << "malformed text matches only itself";
}

// Tests bad input from the host and the person: a huge catalogue, a very long
// message, an emoji query and an unknown page never crash, and the window's
// controls stay inside it.
TEST_F(SettingsTest, BadInputStaysInsideTheWindow) {
    startLibrary();
    json installed = json::array();
    for (int i = 0; i < 5000; ++i) installed.push_back(pinnedApp("com.app." + std::to_string(i), "App " + std::to_string(i)));
    installed.push_back({{"id", "com.emoji"}, {"name", "Cafe\u0301 🚀 火箭"}, {"path", "/Applications/Rocket.app"}});
    update({{"installed", installed}, {"message", std::string(10000, 'W')}});
    showTab("add");
    send("settingsShow");
    EXPECT_LE(hosting().listRowsLaidOut(), 40u) << "only the rows in view are laid out";

    press("搜索本机应用");
    type("café 🚀");
    EXPECT_TRUE(control("固定 Cafe\u0301 🚀 火箭"));
    const auto bounds = hosting().bounds();
    for (const auto& each : hosting().controls()) {
        EXPECT_GE(each.frame.minY(), bounds.minY()) << each.text;
        EXPECT_LE(each.frame.maxY(), bounds.maxY()) << each.text;
        EXPECT_LE(each.frame.maxX(), bounds.maxX()) << each.text;
    }
    EXPECT_TRUE(control("关闭提示")) << "the long banner is cut, its close button stays in view";
    send("settingsTab", {{"tab", std::string(300, 'x')}});
    EXPECT_TRUE(shows("常用应用，随手可达"));
}

}  // namespace
}  // namespace orvane::testing
