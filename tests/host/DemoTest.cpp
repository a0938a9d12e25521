// The demo a newcomer runs first, run as they would: orvane-host --demo on
// the default scene, then everything it leaves is checked.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "tests/support/PngFile.h"
#include "tests/support/TextFile.h"

namespace {

namespace fs = std::filesystem;

class DemoTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("orvane-demo-test-" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        // The host makes a fresh copy of the demo disk for itself.
        const std::string command = std::string(ORVANE_HOST_PATH) + " --demo " + folder_.string() + " > /dev/null";
        status_ = std::system(command.c_str());
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path folder_;
    int status_ = -1;
};

// Tests that the demo leaves a page whose every picture exists and decodes,
// whole-screen pictures at the screen's backing scale, the card of a portrait
// window at the tallest viewport, and the settings window on its pages.
TEST_F(DemoTest, LeavesAPageOfStepsWithPicturesThatExist) {
    ASSERT_EQ(status_, 0) << "orvane-host --demo failed";
    const auto page = orvane::test::readText(folder_ / "index.html");
    ASSERT_FALSE(page.empty());
    EXPECT_NE(page.find("<!DOCTYPE html>"), std::string::npos);
    EXPECT_EQ(page.find("<script"), std::string::npos) << "the page must work without scripts";
    EXPECT_EQ(page.find("http"), std::string::npos) << "the page must not fetch anything";

    const std::regex source(R"(src="([^"]+)\")");
    std::set<std::string> named;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), source); it != std::sregex_iterator(); ++it)
        named.insert((*it)[1].str());
    ASSERT_FALSE(named.empty());

    int screens = 0, cards = 0, settings = 0, strips = 0;
    for (const auto& name : named) {
        const auto path = folder_ / name;
        ASSERT_TRUE(fs::exists(path)) << name << " is named by the page but missing";
        orvane::test::PngFile png(path.string());
        ASSERT_TRUE(png.valid()) << name << " does not decode";
        const auto file = path.filename().string();
        if (file == "screen.png") {
            ++screens;
            EXPECT_EQ(png.width(), 3024) << name;
            EXPECT_EQ(png.height(), 1964) << name;
        } else if (file == "card.png") {
            ++cards;
            EXPECT_EQ(png.width(), 672) << name;  // 336 points at scale 2
        } else if (file == "settings.png") {
            ++settings;
        } else if (file == "strip.png") {
            ++strips;
        }
    }
    const int steps = int(std::count_if(fs::directory_iterator(folder_), fs::directory_iterator(),
                                        [](const fs::directory_entry& e) { return e.is_directory(); }));
    EXPECT_GE(steps, 8);
    EXPECT_EQ(screens, steps) << "every step has a whole-screen picture";
    EXPECT_GE(cards, 2);
    EXPECT_GE(strips, steps);
    EXPECT_GE(settings, 3) << "the settings window on each page";

    // The self-preview's card: a portrait window at the tallest viewport,
    // 202 + 82 points high.
    orvane::test::PngFile lastCard((folder_ / "card.png").string());
    ASSERT_TRUE(lastCard.valid());
    EXPECT_EQ(lastCard.height(), 2 * (202 + 82));

    // The transcript is one JSON object per line, each with what was sent and the reply.
    std::ifstream transcript(folder_ / "session.jsonl");
    std::string line;
    int lines = 0;
    while (std::getline(transcript, line)) {
        auto record = nlohmann::json::parse(line, nullptr, false);
        ASSERT_FALSE(record.is_discarded()) << line;
        EXPECT_TRUE(record.contains("send") && record.contains("reply")) << line;
        ++lines;
    }
    EXPECT_GT(lines, 20);
}

// Tests that every step opens with what it is about, enlarged and captioned,
// before the whole screen, and that the session runs again in dark
// appearance: a strip, a card, a menu and the settings pages, all dark.
TEST_F(DemoTest, EachStepShowsItsSubjectFirstAndRunsAgainInDark) {
    ASSERT_EQ(status_, 0) << "orvane-host --demo failed";
    const auto page = orvane::test::readText(folder_ / "index.html");
    const std::regex section(R"re(<section id="step-\d+">([\s\S]*?)</section>)re");
    const std::regex closeUp(R"re(<figure class="closeup"><img src="([^"]+)"[^>]*><figcaption>([^<]+)</figcaption>)re");
    int sections = 0, darkSettings = 0, stripCloseUps = 0;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), section); it != std::sregex_iterator(); ++it) {
        const std::string body = (*it)[1].str();
        ++sections;
        std::smatch first;
        ASSERT_TRUE(std::regex_search(body, first, closeUp)) << "a step without a close-up:\n" << body.substr(0, 200);
        EXPECT_LT(body.find("<figure class=\"closeup\""), body.find("<figure class=\"screen\"")) << "the close-up comes first";
        EXPECT_GT(first[2].str().size(), 20u) << "the caption says what to look at";
        orvane::test::PngFile picture((folder_ / first[1].str()).string());
        ASSERT_TRUE(picture.valid()) << first[1];
        if (first[1].str().find("closeup") != std::string::npos && picture.height() == 3 * 37) ++stripCloseUps;
        if (body.find("深色 · 设置") != std::string::npos) {
            EXPECT_NE(first[1].str().find("settings.png"), std::string::npos);
            // The middle of the page's content in dark appearance.
            auto pixel = picture.pixel(picture.width() * 3 / 4, picture.height() / 2);
            EXPECT_LT(pixel.r + pixel.g + pixel.b, 3 * 90) << first[1] << " is not dark";
            ++darkSettings;
        }
    }
    EXPECT_GE(sections, 14);
    EXPECT_GE(stripCloseUps, 4) << "the strip among its neighbours at three pixels a point";
    EXPECT_EQ(darkSettings, 3) << "each settings page once more in dark appearance";
    for (const char* dark : {"深色 · 应用栏", "深色 · 悬停卡片", "深色 · 右键菜单"})
        EXPECT_NE(page.find(dark), std::string::npos) << dark;
}

// Tests that the recorded session replays on a fresh disk to the same
// replies and the same pictures, byte for byte.
TEST_F(DemoTest, SessionReplaysToTheSamePictures) {
    ASSERT_EQ(status_, 0) << "orvane-host --demo failed";
    std::map<fs::path, std::string> pictures;
    for (const auto& entry : fs::recursive_directory_iterator(folder_))
        if (entry.path().extension() == ".png") pictures[entry.path()] = orvane::test::readText(entry.path());
    ASSERT_GE(pictures.size(), 20u);
    for (const auto& [path, bytes] : pictures) fs::remove(path);

    const std::string command = "cd " + folder_.parent_path().string() + " && " + std::string(ORVANE_HOST_PATH) +
                                " --replay " + (folder_ / "session.jsonl").string() + " > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << "a replayed reply differs from the recorded one";
    for (const auto& [path, bytes] : pictures) {
        ASSERT_TRUE(fs::exists(path)) << path << " was not written again";
        EXPECT_TRUE(orvane::test::readText(path) == bytes) << path << " differs from the recorded session's";
    }

    // A transcript that is not one records nothing and says so.
    std::ofstream(folder_ / "broken.jsonl") << "{\"command\":\"start\"}\n";
    const std::string broken =
        std::string(ORVANE_HOST_PATH) + " --replay " + (folder_ / "broken.jsonl").string() + " > /dev/null 2>&1";
    EXPECT_NE(std::system(broken.c_str()), 0);
}

}  // namespace
