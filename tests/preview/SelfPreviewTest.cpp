// Tests of the acceptance self-preview through the host's commands: the tall
// test window, its reuse after a close, the card of the host process at the
// first slot showing that window at the tallest viewport, the cases in which
// nothing happens, stop, and acceptance mode leaving the system alone. Set
// ORVANE_CARD_PICTURES to a folder to keep the card's picture for a look.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/Preferences.h"
#include "platform/ui/Label.h"
#include "platform/ui/Window.h"
#include "tests/preview/PreviewFixture.h"
#include "tests/support/Call.h"
#include "tests/support/PngFile.h"

namespace orvane::testing {
namespace {

namespace fs = std::filesystem;
namespace ui = platform::ui;
using test::call;
using test::data;
using test::PngFile;

constexpr const char* testWindowTitle = "完整窗口 · 竖屏验收";

json notes() {
    return PreviewTest::windowApp("com.example.notes", "Notes", 700,
                                  json::array({PreviewTest::window(41, "Notes", 900, 600)}));
}

class SelfPreviewTest : public PreviewTest {
protected:
    // Starts through the bridge, as a host does, with Notes pinned.
    void startAcceptance(bool qaMode = true, json extra = json::object()) {
        if (!extra.contains("screenCaptureGranted")) extra["screenCaptureGranted"] = true;
        load(scene(json::array({notes()}), std::move(extra)));
        data("start", {{"qaMode", qaMode}});
        controller = controllerSlot();
        data("configure", {{"pinned", json::array({{{"id", "com.example.notes"}, {"name", "Notes"},
                                                    {"path", "/Applications/Notes.app"}}})},
                           {"showRunning", false}});
        finishScans();
    }

    // The desktop's records of windows with the test window's title.
    static std::vector<json> testWindows() {
        std::vector<json> found;
        const json state = desktop::state();
        for (const auto& record : state["windows"])
            if (record["title"] == testWindowTitle) found.push_back(record);
        return found;
    }
    // The frontmost visible window of the ordinary level.
    static json frontWindow() {
        const json state = desktop::state();
        for (const auto& record : state["windows"])
            if (record["visible"] == true && record["level"] == 0) return record;
        return nullptr;
    }
    // The darkest grey level in a band of the card's picture, the band given
    // in card points from the bottom-left (the picture is at scale 2).
    static int darkest(const PngFile& picture, double minX, double maxX, double minY, double maxY) {
        int result = 255;
        for (int y = static_cast<int>(minY * 2); y < static_cast<int>(maxY * 2); ++y) {
            for (int x = static_cast<int>(minX * 2); x < static_cast<int>(maxX * 2); ++x) {
                auto p = picture.pixel(x, picture.height() - 1 - y);
                if (p.a > 200) result = std::min(result, (p.r + p.g + p.b) / 3);
            }
        }
        return result;
    }
    static std::vector<std::string> labelTexts(const ui::View& view) {
        std::vector<std::string> texts;
        for (const auto& subview : view.subviews()) {
            auto label = std::dynamic_pointer_cast<ui::Label>(subview);
            texts.push_back(label ? label->text() : "");
        }
        return texts;
    }
};

// Tests that the command does nothing without acceptance mode, or once the
// strip is gone: no window, no card.
TEST_F(SelfPreviewTest, NothingOutsideAcceptanceModeOrWithoutStrip) {
    startAcceptance(false);
    data("qaSelfPreview");
    EXPECT_EQ(controller->state().qaPreviewWindow, nullptr);
    EXPECT_TRUE(testWindows().empty());
    EXPECT_EQ(data("snapshot")["card"], "");

    startAcceptance(true);
    controller->stop();
    data("qaSelfPreview");
    EXPECT_EQ(controller->state().qaPreviewWindow, nullptr);
    EXPECT_TRUE(testWindows().empty());
    EXPECT_EQ(controller->hoverCard().window(), nullptr);
}

// Tests the test window as made (frame, style, title, labels at its top and
// bottom inset by 20 points, in front without taking the keyboard), and the
// host's card under the first slot showing it at the tallest viewport.
TEST_F(SelfPreviewTest, ShowsTheTestWindowInTheHostsCard) {
    startAcceptance();
    data("qaSelfPreview");
    auto window = controller->state().qaPreviewWindow;
    ASSERT_TRUE(window);
    EXPECT_EQ(window->frame(), platform::Rect(80, 100, 320, 550));
    EXPECT_EQ(window->styleMask(), ui::styleMask::titled | ui::styleMask::closable);
    EXPECT_EQ(window->title(), testWindowTitle);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isKey());
    EXPECT_EQ(desktop::state()["keyWindow"], nullptr);
    EXPECT_EQ(frontWindow()["number"], window->windowNumber());

    auto content = window->contentView();
    ASSERT_TRUE(content);
    ASSERT_EQ(labelTexts(*content), (std::vector<std::string>{"TOP · 窗口顶部", "", "BOTTOM · 窗口底部"}));
    const auto& views = content->subviews();
    EXPECT_DOUBLE_EQ(views[0]->frame().maxY(), 550 - 20);
    EXPECT_DOUBLE_EQ(views[2]->frame().minY(), 20);
    EXPECT_DOUBLE_EQ(views[1]->frame().minY(), views[2]->frame().maxY()) << "the empty view fills the middle";
    EXPECT_DOUBLE_EQ(views[1]->frame().maxY(), views[0]->frame().minY());
    for (const auto& view : views) {
        EXPECT_DOUBLE_EQ(view->frame().minX(), 20);
        EXPECT_DOUBLE_EQ(view->frame().width(), 320 - 40);
    }

    // The card of the host itself, under the first slot: its top 6 points
    // below the strip (the card's frame is reported from the top of the
    // 982-point screen), centred on the slot that starts 3 points into the strip.
    json state = data("snapshot");
    EXPECT_EQ(state["card"], hostId);
    const json& strip = state["frame"];
    const json& card = state["cardFrame"];
    EXPECT_DOUBLE_EQ(982 - card["y"].get<double>(), strip["y"].get<double>() - 6);
    const double slotMid = strip["x"].get<double>() + 3 + 29.0 / 2;
    EXPECT_DOUBLE_EQ(card["x"].get<double>(), std::min(slotMid - 168, 1512.0 - 336 - 8));

    desktop::advance(0.1);
    json preview = data("snapshot")["preview"];
    EXPECT_EQ(preview["status"], "live");
    EXPECT_EQ(preview["windows"], 1) << "the strip and the card are not ordinary windows";
    EXPECT_EQ(preview["windowID"], window->windowNumber());
    EXPECT_EQ(preview["windowWidth"], 320);
    EXPECT_EQ(preview["windowHeight"], 550 + 28) << "its title bar above the content rectangle";
    EXPECT_EQ(preview["cardWidth"], 336);
    EXPECT_EQ(preview["cardHeight"], 202 + 82) << "the tallest viewport";

    const std::string folder = "/captures";
    fs::create_directories(diskPath(folder));
    data("capture", {{"directory", folder}});
    const std::string cardPath = diskPath(folder) + "/card.png";
    if (const char* keep = std::getenv("ORVANE_CARD_PICTURES")) {
        fs::create_directories(keep);
        fs::copy_file(cardPath, fs::path(keep) / "self-preview-card.png", fs::copy_options::overwrite_existing);
    }
    PngFile picture(cardPath);
    ASSERT_TRUE(picture.valid());
    EXPECT_EQ(picture.width(), 672);
    EXPECT_EQ(picture.height(), 568);
    // The viewport (y 34 to 236) holds the 320 x 578 window scaled by
    // 202 / 578 and centred: its top label lies about 17 to 23 points under
    // the viewport's top edge, its bottom label 7 to 13 points above its
    // bottom edge, and nothing is written in between.
    const int top = darkest(picture, 120, 216, 211, 221);
    const int bottom = darkest(picture, 120, 216, 39, 49);
    const int middle = darkest(picture, 120, 216, 60, 200);
    EXPECT_LT(top, middle - 40) << "the TOP label shows";
    EXPECT_LT(bottom, middle - 40) << "the BOTTOM label shows";
}

// Tests that a second call reuses the window and brings it back in front of
// another window after the user closed it, and replaces the card.
TEST_F(SelfPreviewTest, ReusesTheWindowAfterAClose) {
    startAcceptance();
    data("qaSelfPreview");
    auto window = controller->state().qaPreviewWindow;
    ASSERT_TRUE(window);
    const int number = window->windowNumber();
    const json firstCard = data("snapshot")["cardWindowID"];

    window->performClose();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(controller->state().qaPreviewWindow, window) << "closing only hides it";
    verb(R"(window open com.example.notes {"title":"Later","frame":[60,80,500,400]})");
    EXPECT_NE(frontWindow()["number"], number);

    data("qaSelfPreview");
    EXPECT_EQ(controller->state().qaPreviewWindow, window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isKey());
    EXPECT_EQ(frontWindow()["number"], number);
    data("qaSelfPreview");
    ASSERT_EQ(testWindows().size(), 1u);

    json state = data("snapshot");
    EXPECT_EQ(state["card"], hostId);
    EXPECT_NE(state["cardWindowID"], firstCard);
    int visibleCards = 0;
    const json windows = desktop::state()["windows"];
    for (const auto& record : windows)
        if (record["visible"] == true && record["level"] == 101) ++visibleCards;
    EXPECT_EQ(visibleCards, 1) << "the earlier cards are gone";
}

// Tests that a person can close the test window with its close button while
// the card floats above it, that closing only hides it (it is not released),
// and that the next call brings the same window back.
TEST_F(SelfPreviewTest, ClosedByItsButtonAndBroughtBack) {
    startAcceptance();
    data("qaSelfPreview");
    ASSERT_EQ(testWindows().size(), 1u);
    const int number = testWindows()[0]["number"];
    EXPECT_EQ(testWindows()[0]["releasedWhenClosed"], false);

    json closed = verb("close");
    EXPECT_EQ(closed["ok"], true) << closed.dump();
    EXPECT_EQ(closed["window"], number) << "the card above it has no close button";
    ASSERT_EQ(testWindows().size(), 1u);
    EXPECT_EQ(testWindows()[0]["visible"], false);
    EXPECT_EQ(testWindows()[0]["released"], false);

    data("qaSelfPreview");
    ASSERT_EQ(testWindows().size(), 1u);
    EXPECT_EQ(testWindows()[0]["number"], number);
    EXPECT_EQ(testWindows()[0]["visible"], true);
}

// Tests that stop orders the test window out and closes the card.
TEST_F(SelfPreviewTest, StopOrdersTheWindowOut) {
    startAcceptance();
    data("qaSelfPreview");
    auto window = controller->state().qaPreviewWindow;
    ASSERT_TRUE(window);
    finishScans();
    data("stop");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(controller->hoverCard().window(), nullptr);
    data("qaSelfPreview");
    EXPECT_FALSE(window->isVisible()) << "no controller answers any more";
}

// Tests that acceptance mode leaves the Dock alone across configure and
// timer ticks, refuses dockWrite with its fixed text and says so in the status.
TEST_F(SelfPreviewTest, AcceptanceModeWritesNothingToTheSystem) {
    load(scene(json::array({app("com.apple.dock", "Dock", 90)})));
    auto dock = platform::preferences("com.apple.dock");
    dock->setValue("autohide", json(false));
    ASSERT_TRUE(dock->synchronize());
    const json before = desktop::state()["disk"];

    data("start", {{"qaMode", true}});
    controller = controllerSlot();
    data("configure", {{"dockPersistent", true}});
    desktop::advance(2 * NativeController::timerInterval + 1);
    finishScans();
    EXPECT_FALSE(controller->state().dockPersistent);
    EXPECT_EQ(data("snapshot")["dockStatus"], "验收模式 · 禁用系统写入");
    EXPECT_EQ(call("dockWrite", {{"autohide", true}, {"autohide-delay", 315360000.0}}),
              json({{"ok", false}, {"error", "验收模式禁用 Dock 写入"}}));
    const json after = desktop::state()["disk"];
    EXPECT_EQ(after["toolRuns"], before["toolRuns"]) << "the Dock was never restarted";
    EXPECT_EQ(after["preferenceWrites"], before["preferenceWrites"]);
    EXPECT_EQ(data("dockRead"), json({{"autohide", false}, {"autohide-delay", nullptr}}));
}

}  // namespace
}  // namespace orvane::testing
