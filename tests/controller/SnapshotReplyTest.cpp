// Tests that the snapshot written straight into the reply is, byte for
// byte, the reply written from the snapshot's tree.
#include "bridge/ReplyWriter.h"
#include "tests/preview/PreviewFixture.h"
#include "tests/support/Call.h"

namespace orvane::testing {
namespace {

// Names that exercise every escape the reply writer makes and the UTF-8 it
// passes through raw.
const std::vector<std::string> oddNames{
    "Quote \"Q\"", "Back\\slash", "Slash/Path", "Tab\tNew\nLine", "Bell\x07Null\x01", "岚舟 笔记",
    "Émoji 🚀", "עברית", "\x1f" "edge\x7f", "Return\rFeed\f\b",
};

// Tests a rich scene: many pinned and running entries with odd names, a
// hidden entry, a detection, the strip's controls and an open card with its preview.
TEST_F(PreviewTest, SnapshotReplyTextIsTheTreesReply) {
    json apps = json::array();
    json pinned = json::array();
    for (int i = 0; i < 40; ++i) {
        const std::string n = std::to_string(i);
        const std::string name = oddNames[i % oddNames.size()] + " " + n;
        json a = windowApp("com.odd/app." + n, name, 500 + i,
                           json::array({window(900 + i, name + " window", 640.5, 401.25)}));
        if (i == 3) a["extras"] = json::array({visibleExtra(500 + i)});
        if (i % 4 != 0) pinned.push_back({{"id", a["bundleId"]}, {"name", name}, {"path", a["path"]},
                                          {"policy", i == 5 ? "running" : i == 3 ? "auto" : "always"}});
        apps.push_back(std::move(a));
    }
    load(scene(std::move(apps), {{"screenCaptureGranted", true},
                                 {"accessibilityTrusted", true},
                                 {"screens", json::array({{{"frame", {0, 0, 1512, 982}},
                                                           {"visibleFrame", {0, 0, 1512, 944.5}},
                                                           {"safeAreaTop", 0},
                                                           {"backingScale", 2}}})}}));
    start();
    controller->configure({{"pinned", pinned}, {"showRunning", true}, {"maxIcons", 7}});
    finishScans();
    open(1);
    desktop::advance(0.5);

    const std::string text = test::callText(R"({"command":"snapshot"})");
    const auto fromTree = writeSuccessReply(controller->snapshot());
    ASSERT_TRUE(fromTree) << "the tree of this scene must be writable";
    EXPECT_EQ(text, *fromTree);

    // The scene is as rich as intended, and the text reads back as the tree.
    const json reply = json::parse(text);
    ASSERT_EQ(reply["ok"], true) << text.substr(0, 200);
    const json& state = reply["data"];
    EXPECT_EQ(state, controller->snapshot());
    EXPECT_GE(state["visible"].size(), 30u);
    EXPECT_GE(state["running"].size(), 40u);
    EXPECT_FALSE(state["hidden"].empty());
    EXPECT_EQ(state["detections"].value("com.odd/app.3", ""), "present");
    EXPECT_GE(state["controls"].size(), 3u);
    EXPECT_NE(state["card"], "");
    EXPECT_TRUE(state["preview"].contains("windowID"));
    EXPECT_DOUBLE_EQ(state["menuBarHeight"].get<double>(), 37.5);
    for (const char* escape : {R"(\"Q\")", R"(Back\\slash)", R"(Slash\/Path)", R"(Tab\tNew\nLine)", R"(\u0007Null\u0001)",
                               R"(Return\rFeed\f\b)", "\\u001fedge\x7f", "岚舟 笔记", "🚀"})
        EXPECT_NE(text.find(escape), std::string::npos) << escape;
}

}  // namespace
}  // namespace orvane::testing
