// Tests of the card's content on the simulated Mac, driven through the
// host's commands and the manual clock: its states with their placeholders
// and buttons, the live picture and its cadence, the window order, the
// selection, the transitions and their bookkeeping, and the faults that
// must never leave a stale image, a crash or anything alive behind.

#include <gtest/gtest.h>

#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Window.h"
#include "preview/PreviewTexts.h"
#include "preview/ScreenCaptureAccess.h"
#include "tests/preview/PreviewFixture.h"
#include "tests/support/Call.h"

namespace orvane::testing {
namespace {

using test::data;

// Which footer controls a card shows, in a compact form.
std::string footer(const WindowPreview& card) {
    std::string shown;
    auto add = [&](const char* name, const std::shared_ptr<platform::ui::View>& view) {
        if (!view->isHidden()) shown += std::string(shown.empty() ? "" : " ") + name;
    };
    add("retry", card.retry());
    add("reopen", card.reopen());
    add("permission", card.permission());
    add("caption", card.caption());
    add("previous", card.previous());
    add("next", card.next());
    return shown;
}

std::vector<std::uint32_t> windowIDs(const WindowPreview& card) {
    std::vector<std::uint32_t> ids;
    for (const auto& w : card.windows()) ids.push_back(w.windowID);
    return ids;
}

// Two landscape windows of Notes, a portrait one last.
json notes() {
    return PreviewTest::windowApp("com.example.notes", "Notes", 700,
                                  json::array({PreviewTest::window(81, "Notes", 1600, 1000),
                                               PreviewTest::window(82, "", 800, 500),
                                               PreviewTest::window(83, "Palette", 340, 560)}));
}

// Tests the card of an application that is not running: its words, its
// button, no footer, the small size, and no capture at all.
TEST_F(PreviewTest, NotRunningCard) {
    startWith(json::array({app("com.example.idle", "Idle", 700, false)}));
    auto card = open(0);
    ASSERT_TRUE(card);
    EXPECT_EQ(card->status()->text(), "尚未启动");
    EXPECT_EQ(card->openButton()->title(), "打开");
    EXPECT_EQ(card->placeholder()->text(), "应用尚未启动\n打开后可查看完整窗口");
    EXPECT_FALSE(card->placeholder()->isHidden());
    EXPECT_EQ(footer(*card), "");
    EXPECT_EQ(report(), json({{"status", "notRunning"}, {"windows", 0}, {"index", 0}, {"frames", 0},
                              {"transitions", 0}, {"switching", false}, {"pixelWidth", 0}, {"pixelHeight", 0},
                              {"cardWidth", 336}, {"cardHeight", 162}}));
    desktop::advance(5);
    EXPECT_EQ(listings(), 0);
    EXPECT_EQ(captures(), 0);
}

// Tests a running application without the permission: the three footer
// buttons and the start text, nothing captured; the active application
// reads "当前应用".
TEST_F(PreviewTest, PermissionMissingAtStart) {
    startWith(json::array({notes()}), {{"screenCaptureGranted", false}, {"active", "com.example.notes"}});
    auto card = open(0);
    ASSERT_TRUE(card);
    EXPECT_EQ(card->status()->text(), "当前应用");
    EXPECT_EQ(card->openButton()->title(), "切换");
    EXPECT_EQ(card->previewState(), "permissionRequired");
    EXPECT_EQ(card->placeholder()->text(), "屏幕权限尚未对当前进程生效\n已授权可重新检测或重开岚舟");
    EXPECT_EQ(footer(*card), "retry reopen permission");
    EXPECT_EQ(card->permission()->frame(), platform::Rect(228, 8, 102, 26));
    desktop::advance(3);
    EXPECT_EQ(listings(), 0);
    json snapshot = data("snapshot");
    EXPECT_EQ(snapshot["screenCapture"], false);
    EXPECT_EQ(snapshot["screenCaptureStatus"], "当前进程未生效");
}

// Tests a live card: the picture arrives on the next turns of the loop, the
// report carries the window and the pixels, and a new picture is taken
// every 0.75 s, with nothing counted as a transition for the same window.
TEST_F(PreviewTest, LiveCardAndItsCadence) {
    startWith(json::array({notes()}));
    auto card = open(0);
    ASSERT_TRUE(card);
    EXPECT_EQ(report()["status"], "loading");
    EXPECT_EQ(card->placeholder()->text(), "正在读取窗口…");
    EXPECT_EQ(footer(*card), "retry");
    desktop::advance(0);
    json r = report();
    EXPECT_EQ(r["status"], "live");
    EXPECT_EQ(r["frames"], 1);
    EXPECT_EQ(r["windows"], 3);
    EXPECT_EQ(r["index"], 0);
    EXPECT_EQ(r["windowID"], 81);
    EXPECT_EQ(r["displayedWindowID"], 81);
    EXPECT_EQ(r["windowWidth"], 1600);
    EXPECT_EQ(r["windowHeight"], 1000);
    EXPECT_EQ(r["pixelWidth"], 1440);
    EXPECT_EQ(r["pixelHeight"], 900);
    EXPECT_EQ(r["cardHeight"], 197.5 + 82);
    EXPECT_EQ(r["transitions"], 0) << "the first picture replaces no picture";
    EXPECT_EQ(data("snapshot")["cardFrame"]["height"], 197.5 + 82) << "the panel follows the card";
    EXPECT_EQ(card->caption()->text(), "1/3 · Notes");
    EXPECT_EQ(footer(*card), "caption previous next");
    EXPECT_TRUE(card->isSwitching() == false);
    desktop::advance(0.3);
    EXPECT_FALSE(card->previous()->isEnabled());
    EXPECT_TRUE(card->next()->isEnabled());

    desktop::advance(0.44);
    EXPECT_EQ(report()["frames"], 1);
    desktop::advance(0.02);
    EXPECT_EQ(report()["frames"], 2);
    desktop::advance(3);
    r = report();
    EXPECT_EQ(r["frames"], 6);
    EXPECT_EQ(r["transitions"], 0);
    EXPECT_EQ(r["switching"], false);
    EXPECT_EQ(captures(), 6);
    EXPECT_EQ(listings(), 6);
    EXPECT_EQ(data("snapshot")["screenCapture"], true);
}

// Tests the selection: previewStep's default and argument types, both ends
// without wrap-around, the untitled caption, and the viewport following the
// portrait window.
TEST_F(PreviewTest, SelectionAndPreviewStep) {
    startWith(json::array({notes()}));
    auto card = open(0);
    desktop::advance(0.5);
    data("previewStep", {{"step", -1}});
    EXPECT_EQ(card->transitionDirection(), 0) << "nothing before the first window";
    EXPECT_FALSE(card->isSwitching());
    data("previewStep");
    EXPECT_TRUE(card->isSwitching());
    EXPECT_EQ(card->transitionDirection(), 1);
    EXPECT_FALSE(card->next()->isEnabled());
    desktop::advance(0.5);
    EXPECT_EQ(report()["windowID"], 82);
    EXPECT_EQ(card->caption()->text(), "2/3 · 应用窗口");
    data("previewStep", {{"step", "two"}});
    desktop::advance(0.5);
    EXPECT_EQ(report()["windowID"], 83);
    EXPECT_EQ(report()["cardHeight"], 202 + 82);
    card->select(1);
    card->select(0);
    card->select(9223372036854775807LL);
    EXPECT_EQ(card->transitionDirection(), 1);
    EXPECT_FALSE(card->isSwitching());
    data("previewStep", {{"step", -2}});
    EXPECT_EQ(card->transitionDirection(), -1);
    desktop::advance(0.5);
    EXPECT_EQ(report()["windowID"], 81);
    card->select(-9223372036854775807LL - 1);
    EXPECT_FALSE(card->isSwitching());
    EXPECT_TRUE(card->next()->isEnabled());
    EXPECT_FALSE(card->previous()->isEnabled());

    // The selected window closes: the next picture falls back to the front
    // window, and a step then moves on from there.
    data("previewStep", {{"step", 2}});
    desktop::advance(0.5);
    verb("window close 83");
    desktop::advance(0.75);
    EXPECT_EQ(report()["windowID"], 81);
    EXPECT_EQ(report()["windows"], 2);
    card->select(1);
    desktop::advance(0.5);
    EXPECT_EQ(report()["windowID"], 82);

    data("closeCard");
    data("previewStep");
    EXPECT_EQ(data("snapshot")["preview"], json::object());
}

// Tests the window order: on-screen windows front to back, then minimised
// ones and those on another space by number; a second process of the same
// bundle contributes its windows; tiny and non-zero-layer windows drop out.
TEST_F(PreviewTest, WindowOrderWithMinimisedWindowsAndASecondProcess) {
    json first = windowApp("com.example.editor", "Editor", 700,
                           json::array({window(61, "Front", 900, 600), window(65, "Minimised", 900, 600, {{"onScreen", false}}),
                                        window(62, "Second", 800, 600), window(64, "Away", 700, 500, {{"onScreen", false}}),
                                        window(66, "Narrow", 90, 600), window(67, "Panel", 400, 300, {{"layer", 3}})}));
    json second = windowApp("com.example.editor", "Editor", 701, json::array({window(63, "Other process", 600, 400)}));
    startWith(json::array({first, second}));
    auto card = open(0);
    desktop::advance(0);
    std::vector<std::uint32_t> ids = windowIDs(*card);
    ASSERT_EQ(ids.size(), 5u);
    EXPECT_EQ(std::vector<std::uint32_t>(ids.end() - 2, ids.end()), (std::vector<std::uint32_t>{64, 65}));
    EXPECT_NE(std::find(ids.begin(), ids.end(), 63), ids.end());
    EXPECT_EQ(ids[0], 61u);

    verb("window restore 65");
    desktop::advance(0.75);
    EXPECT_EQ(windowIDs(*card)[0], 65u) << "a restored window comes to the front";
    EXPECT_EQ(report()["windowID"], 61) << "the selection stays with its window";
}

// Tests an application without a window to show: "noWindow" with its text
// and the re-check button, a new look every 1.0 s, and the picture as soon
// as a qualifying window opens.
TEST_F(PreviewTest, NoWindowLooksAgainEverySecond) {
    startWith(json::array({windowApp("com.example.tiny", "Tiny", 700,
                                     json::array({window(91, "Narrow", 90, 400), window(92, "Zero", 0, 0),
                                                  window(93, "Panel", 500, 400, {{"layer", 8}})}))}));
    auto card = open(0);
    desktop::advance(0);
    EXPECT_EQ(card->previewState(), "noWindow");
    EXPECT_EQ(card->placeholder()->text(), "当前没有可读取的应用窗口\n点击切换，打开窗口后会自动重试");
    EXPECT_EQ(footer(*card), "retry");
    EXPECT_EQ(captures(), 0);
    desktop::advance(0.99);
    EXPECT_EQ(listings(), 1);
    desktop::advance(0.02);
    EXPECT_EQ(listings(), 2);
    verb("window open com.example.tiny {\"number\": 94, \"title\": \"Huge\", \"frame\": [0, 0, 100000, 80000]}");
    desktop::advance(1);
    json r = report();
    EXPECT_EQ(r["status"], "live");
    EXPECT_EQ(r["pixelWidth"], 1440);
    EXPECT_EQ(r["pixelHeight"], 1152);
    EXPECT_EQ(r["cardHeight"], 202 + 82) << "the tallest viewport";
}

}  // namespace
}  // namespace orvane::testing
