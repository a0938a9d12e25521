#include "tests/controller/ControllerFixture.h"

#include <fstream>

#include "controller/AppActions.h"
#include "platform/Workspace.h"
#include "platform/ui/Event.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Window.h"
#include "strip/StripView.h"

namespace orvane::testing {
namespace {

bool runs(const std::string& bundleId) {
    for (const auto& app : platform::workspace().runningApplications())
        if (!app->isTerminated() && app->bundleIdentifier() == bundleId) return true;
    return false;
}

std::vector<std::string> menuTitles() {
    std::vector<std::string> titles;
    auto menu = desktop::verb("menu")["menu"];
    if (!menu.is_object()) return titles;
    for (const auto& item : menu["items"])
        titles.push_back(item["separator"].get<bool>() ? "-" : item["title"].get<std::string>());
    return titles;
}

// Tests launching by bundle path, by bundle id when the path is gone, and a missing app.
TEST_F(ControllerTest, LaunchByPathByIdAndMissing) {
    load(scene(json::array({app("com.a", "A", 200, false), app("com.b", "B", 201, false)})));
    makeBundle("/Applications/A.app");
    start();

    controller->launch({"com.a", "A", "/Applications/A.app", "auto"});
    EXPECT_EQ(controller->state().lastAction, "launch:com.a");
    ASSERT_TRUE(desktop::runUntil([] { return runs("com.a"); }, 5));

    controller->launch({"com.b", "B", "/Old/B.app", "auto"});
    ASSERT_TRUE(desktop::runUntil([] { return runs("com.b"); }, 5)) << "the installed copy is opened by id";

    controller->launch({"com.gone", "Gone", "/Old/Gone.app", "auto"});
    EXPECT_EQ(controller->state().lastAction, "launch:com.gone");
    settle();
    EXPECT_EQ(controller->drainEvents(), json::array({{{"kind", "error"},
                                                       {"message", "找不到 Gone，请在设置中移除或重新导入。"}}}));
}

// Tests that a refusal arriving later on another thread becomes one error event.
TEST_F(ControllerTest, LaunchFailureArrivesLater) {
    load(scene(json::array({app("com.a", "A", 200, false)}),
               {{"openLatency", 0.5},
                {"openFailures", {{"com.a", {{"domain", "NSCocoaErrorDomain"}, {"code", 4}, {"description", "损坏"}}}}}}));
    start();
    controller->launch({"com.a", "A", "/Missing/A.app", "auto"});
    settle();
    EXPECT_EQ(controller->queuedEvents(), 0u) << "nothing before the open completes";
    desktop::advance(0.5);
    ASSERT_TRUE(desktop::runUntil([&] { return controller->queuedEvents() > 0; }, 5));
    EXPECT_EQ(controller->drainEvents(), json::array({{{"kind", "error"}, {"message", "打开失败：损坏"}}}));

    // A controller gone before the completion drops the error silently.
    controller->launch({"com.a", "A", "/Missing/A.app", "auto"});
    controller->stop();
    controller.reset();
    controllerSlot().reset();
    desktop::advance(0.5);
    settle();
}

// Tests the all-applications menu: heading, pinned first with bullets, running once, settings, quit.
TEST_F(ControllerTest, AllAppsMenuItemsAndEvents) {
    auto helper = app("com.helper", "Helper", 210);
    helper["activationPolicy"] = "prohibited";
    load(scene(json::array({app("com.a", "A", 200), app("com.b", "B", 201, false), app("com.c", "C", 202), helper})));
    start();
    controller->configure({{"pinned", {{{"id", "com.b"}, {"name", "B"}, {"path", "/Applications/B.app"}},
                                       {{"id", "com.a"}, {"name", "A"}, {"path", "/Applications/A.app"}}}}});
    controller->all();
    EXPECT_EQ(controller->state().lastAction, "all");
    EXPECT_EQ(menuTitles(), (std::vector<std::string>{"岚舟 · 所有应用", "B", "A  •", "C  •", "-", "设置…", "退出 岚舟"}));
    auto menu = desktop::verb("menu")["menu"];
    EXPECT_FALSE(menu["items"][0]["enabled"].get<bool>()) << "the heading has no action";
    EXPECT_EQ(menu["items"][5]["keyEquivalent"], ",");
    EXPECT_EQ(menu["items"][6]["keyEquivalent"], "q");
    EXPECT_TRUE(menu["items"][1]["image"].get<bool>());
    // Under the manager control: 26 pt left of the strip's right end, from its bottom edge.
    double width = controller->state().strip->frame().width();
    auto origin = controller->state().strip->window()->frame().origin;
    EXPECT_DOUBLE_EQ(menu["location"][0].get<double>(), origin.x + width - 26);
    EXPECT_DOUBLE_EQ(menu["location"][1].get<double>(), origin.y);

    verb("choose 设置…");
    controller->all();
    verb("choose 退出 岚舟");
    controller->all();
    verb("choose C  •");
    EXPECT_EQ(controller->state().lastAction, "launch:com.c");
    EXPECT_EQ(controller->drainEvents(), json::parse(R"([{"kind":"settings"},{"kind":"quit"}])"));
}

// Tests the context menu of a pinned and an unpinned app, and the pin and reveal actions.
TEST_F(ControllerTest, ContextMenuPinAndReveal) {
    load(scene(json::array({app("com.a", "A", 200), app("com.c", "C", 202)})));
    start();
    AppEntry a{"com.a", "A", "/Applications/A.app", "always"};
    controller->configure({{"pinned", {a.dictionary()}}});

    stripOwner().contextMenu(a, platform::ui::Event{});
    EXPECT_EQ(menuTitles(), (std::vector<std::string>{"打开 / 切换", "取消固定", "在 Finder 中显示"}));
    verb("choose 取消固定");
    EXPECT_EQ(controller->drainEvents(), json::array({{{"kind", "pin"}, {"app", a.dictionary()}}}));

    AppEntry c{"com.c", "C", "/Applications/C.app", "auto"};
    stripOwner().contextMenu(c, platform::ui::Event{});
    EXPECT_EQ(menuTitles(), (std::vector<std::string>{"打开 / 切换", "固定到应用栏", "在 Finder 中显示"}));
    verb("choose 固定到应用栏");
    EXPECT_EQ(controller->drainEvents(), json::array({{{"kind", "pin"}, {"app", c.dictionary()}}}));

    stripOwner().contextMenu(c, platform::ui::Event{});
    verb("choose 在 Finder 中显示");
    EXPECT_NE(desktop::state().dump().find("/Applications/C.app"), std::string::npos) << "the reveal was recorded";

    platform::ui::MenuItem empty("x", "pinAction:", "");
    EXPECT_FALSE(entryOfItem(empty)) << "an item without a usable app names no entry, so its action does nothing";
    empty.representedObject = json{{"id", "com.a"}};
    EXPECT_FALSE(entryOfItem(empty));
    empty.representedObject = a.dictionary();
    EXPECT_EQ(entryOfItem(empty), a);
}

// Tests that the icon cache asks the workspace once per path.
TEST_F(ControllerTest, IconCachedPerPath) {
    load(scene(json::array({app("com.a", "A", 200)})));
    start();
    AppEntry a{"com.a", "A", "/Applications/A.app", "auto"};
    auto first = stripOwner().icon(a);
    ASSERT_TRUE(first);
    EXPECT_EQ(stripOwner().icon(a), first);
    EXPECT_EQ(stripOwner().icon({"other", "Other", "/Applications/A.app", "auto"}), first);
    EXPECT_NE(stripOwner().icon({"com.b", "B", "/Applications/B.app", "auto"}), first);
    EXPECT_TRUE(stripOwner().appRunning(a));
    EXPECT_FALSE(stripOwner().appRunning({"com.b", "B", "/Applications/B.app", "auto"}));
    EXPECT_TRUE(stripOwner().appRunning({"x", "A", "/Applications/A.app", "auto"})) << "matched by path";
}

// Tests that capture writes strip.png at the backing scale and nothing for a missing folder.
TEST_F(ControllerTest, CaptureWritesStripPng) {
    load(scene(json::array({app("com.a", "A", 200)})));
    start();
    std::filesystem::create_directories(diskPath("/out"));
    controller->capture("/out");
    std::ifstream png(diskPath("/out/strip.png"), std::ios::binary);
    ASSERT_TRUE(png) << "strip.png written";
    std::string bytes((std::istreambuf_iterator<char>(png)), {});
    ASSERT_GT(bytes.size(), 24u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    auto be32 = [&](std::size_t at) {
        return (unsigned char)bytes[at] << 24 | (unsigned char)bytes[at + 1] << 16 | (unsigned char)bytes[at + 2] << 8 |
               (unsigned char)bytes[at + 3];
    };
    EXPECT_EQ(be32(16), 128u) << "64 pt at scale 2";
    EXPECT_EQ(be32(20), 48u) << "24 pt at scale 2";

    controller->capture("/missing");
    controller->capture("");
    EXPECT_FALSE(std::filesystem::exists(diskPath("/missing")));
    EXPECT_FALSE(std::filesystem::exists(diskPath("/strip.png")));
}

}  // namespace
}  // namespace orvane::testing

namespace orvane::testing {
namespace {

// Tests that the strip's own buttons reach the controller: click launches, right click and the mark open menus.
TEST_F(ControllerTest, StripButtonsDriveActions) {
    load(scene(json::array({app("com.a", "A", 200)})));
    start();
    auto frame = controller->snapshot()["frame"];
    double x = frame["x"].get<double>(), y = frame["y"].get<double>() + 12;
    auto at = [&](double dx) { return std::to_string(x + dx) + " " + std::to_string(y); };

    verb("rightclick " + at(3 + 14.5));
    EXPECT_EQ(menuTitles(), (std::vector<std::string>{"打开 / 切换", "固定到应用栏", "在 Finder 中显示"}));
    verb("choose 打开 / 切换");
    EXPECT_EQ(controller->state().lastAction, "launch:com.a");

    verb("click " + at(35 + 14.5));
    EXPECT_EQ(controller->state().lastAction, "all");
    EXPECT_EQ(menuTitles().front(), "岚舟 · 所有应用");
    verb("dismiss");

    verb("click " + at(3 + 14.5));
    EXPECT_EQ(controller->state().lastAction, "launch:com.a");
}

}  // namespace
}  // namespace orvane::testing
