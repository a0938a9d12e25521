// Tests of what the host pushes into the settings window and what the model
// derives from it, through orvane_call and the window's own controls.

#include "tests/settings/SettingsFixture.h"

namespace orvane::testing {
namespace {

// Tests that every settingsUpdate replaces all but the catalogue, that a
// value of the wrong type takes its default, and that the page and the
// search text are never touched.
TEST_F(SettingsTest, UpdateReplacesEverythingButTheCatalogue) {
    startLibrary();
    showTab("settings");
    model().setQuery("sa");
    update({{"preferences", {{"centered", true}}},
            {"state", {{"trusted", true}}},
            {"installed", json::array({pinnedApp("com.a", "A")})},
            {"message", "m"},
            {"failure", "f"},
            {"loading", true},
            {"login", true}});
    EXPECT_EQ(model().preferences(), (json{{"centered", true}}));
    EXPECT_EQ(model().state(), (json{{"trusted", true}}));
    ASSERT_EQ(model().installed()->size(), 1u);
    EXPECT_EQ(model().message(), "m");
    EXPECT_EQ(model().failure(), "f");
    EXPECT_TRUE(model().loading());
    EXPECT_TRUE(model().login());

    update(json::object());
    EXPECT_EQ(model().preferences(), json::object());
    EXPECT_EQ(model().state(), json::object());
    EXPECT_EQ(model().installed()->size(), 1u) << "a missing catalogue is kept";
    EXPECT_EQ(model().message(), "");
    EXPECT_EQ(model().failure(), "");
    EXPECT_FALSE(model().loading());
    EXPECT_FALSE(model().login());
    EXPECT_EQ(model().tab(), "settings");
    EXPECT_EQ(model().query(), "sa");

    update({{"preferences", json::array({1})},
            {"state", "trusted"},
            {"installed", pinnedApp("com.b", "B")},
            {"message", 3},
            {"failure", false},
            {"loading", "yes"},
            {"login", 1}});
    EXPECT_EQ(model().preferences(), json::object());
    EXPECT_EQ(model().state(), json::object());
    EXPECT_EQ(model().installed()->at(0).id(), "com.a") << "a catalogue that is not an array is kept";
    EXPECT_EQ(model().message(), "");
    EXPECT_EQ(model().failure(), "");
    EXPECT_FALSE(model().loading());
    EXPECT_FALSE(model().login());

    update({{"installed", json::array({pinnedApp("com.b", "B"), "com.c"})}});
    EXPECT_EQ(model().installed()->at(0).id(), "com.a") << "an array holding a non-record is no catalogue";
    update({{"installed", json::array({pinnedApp("com.b", "B"), {{"id", "com.c"}}, {{"path", "/C.app"}}})}});
    ASSERT_EQ(model().installed()->size(), 1u) << "records without id or path are dropped";
    EXPECT_EQ(model().installed()->at(0).id(), "com.b");
    update({{"installed", json::array()}});
    EXPECT_TRUE(model().installed()->empty());

    // settingsTab: any string is kept; anything else selects "apps".
    showTab("add");
    EXPECT_EQ(model().tab(), "add");
    send("settingsTab", {{"tab", 3}});
    EXPECT_EQ(model().tab(), "apps");
    showTab("add");
    send("settingsTab");
    EXPECT_EQ(model().tab(), "apps");
}

// Tests that the pinned list drops entries without id or path, fills the
// name and the policy, keeps the order, and that counters count arrays only.
TEST_F(SettingsTest, PinnedListAndCounters) {
    startLibrary();
    update({{"preferences",
             {{"pinned", json::array({{{"id", "com.a"}, {"path", "/A.app"}},
                                      {{"id", "com.b"}, {"name", "B"}},
                                      {{"name", "C"}, {"path", "/C.app"}},
                                      {{"id", 4}, {"path", "/D.app"}},
                                      pinnedApp("com.e", "E", "running")})}}},
            {"state", {{"visible", json::array({1, 2, 3})}, {"hidden", "two"}}}});
    const auto pinned = model().pinned();
    ASSERT_EQ(pinned.size(), 2u);
    EXPECT_EQ(pinned[0].dictionary(), (json{{"id", "com.a"}, {"name", "应用"}, {"path", "/A.app"}, {"policy", "auto"}}));
    EXPECT_EQ(pinned[1].id(), "com.e");
    EXPECT_EQ(model().count("visible"), 3);
    EXPECT_EQ(model().count("hidden"), 0);
    EXPECT_EQ(model().count("missing"), 0);

    update({{"preferences", {{"pinned", json::array({pinnedApp("com.a", "A"), 7})}}}});
    EXPECT_TRUE(model().pinned().empty()) << "a list holding a non-record counts as no list";
    update({{"preferences", {{"pinned", pinnedApp("com.a", "A")}}}});
    EXPECT_TRUE(model().pinned().empty());
}

// Tests the status line under a pinned app, in the order its rules apply; a
// policy outside the three reads as "always".
TEST_F(SettingsTest, StatusLines) {
    startLibrary();
    const auto app = [](const std::string& policy) {
        return *SettingsApp::fromDictionary(pinnedApp("com.a", "A", policy));
    };
    update({{"state", {{"detections", {{"com.a", "present"}}}}}});
    EXPECT_EQ(model().status(app("always")), "始终显示在应用栏");
    EXPECT_EQ(model().status(app("sometimes")), "始终显示在应用栏");
    EXPECT_EQ(model().status(app("running")), "运行时让位给原生入口");
    EXPECT_EQ(model().status(app("auto")), "自动识别 · 辅助功能未生效") << "untrusted, whatever was detected";
    update({{"state", {{"trusted", "yes"}, {"detections", {{"com.a", "present"}}}}}});
    EXPECT_EQ(model().status(app("auto")), "自动识别 · 辅助功能未生效") << "only a boolean true is trust";
    update({{"state", {{"trusted", true}, {"detections", {{"com.a", "present"}}}}}});
    EXPECT_EQ(model().status(app("auto")), "原生入口可见 · 已让位");
    update({{"state", {{"trusted", true}, {"detections", {{"com.a", "absent"}}}}}});
    EXPECT_EQ(model().status(app("auto")), "自动识别 · 保留应用入口");
    update({{"state", {{"trusted", true}, {"detections", "present"}}}});
    EXPECT_EQ(model().status(app("auto")), "自动识别 · 保留应用入口");
}

// Tests that an update that changes nothing does not rebuild the window's
// content, and that a change rebuilds it exactly once.
TEST_F(SettingsTest, UnchangedUpdateDoesNotRebuild) {
    startLibrary();
    json values = fullUpdate(json::array({pinnedApp("com.a", "A")}));
    values["installed"] = json::array({pinnedApp("com.b", "B")});
    values["message"] = "导入完成";
    update(values);
    send("settingsShow");
    const auto rebuilds = settings().rebuildCount();
    hosting().layoutIfNeeded();
    const auto layouts = hosting().layoutCount();

    update(values);
    values.erase("installed");
    update(values);
    showTab("apps");
    hosting().layoutIfNeeded();
    EXPECT_EQ(settings().rebuildCount(), rebuilds);
    EXPECT_EQ(hosting().layoutCount(), layouts);

    values["message"] = "";
    values["login"] = true;
    update(values);
    EXPECT_EQ(settings().rebuildCount(), rebuilds + 1) << "one rebuild per update, however many values changed";
}

}  // namespace
}  // namespace orvane::testing
