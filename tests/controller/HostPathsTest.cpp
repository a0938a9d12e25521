// Tests that a path the host hands in names nothing when it holds a NUL: the
// system would cut it there and reach another file. Each command then acts
// as for a path that names nothing.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/ui/Event.h"
#include "tests/controller/ControllerFixture.h"
#include "tests/support/Call.h"

namespace orvane::testing {
namespace {

const std::string nul("\0", 1);

TEST_F(ControllerTest, PathsHoldingNulNameNothing) {
    load(scene(json::array({app("com.apple.Safari", "Safari", 501)})));
    test::data("start");

    test::data("reveal", {{"path", "/Applications/Safari.app" + nul + "/x"}});
    test::data("reveal", {{"path", "/Applications/Safari.app"}});
    EXPECT_EQ(desktop::state()["revealed"], json::parse(R"([["/Applications/Safari.app"]])"));

    // A pinned record keeps the host's text (its events carry it back), but
    // the path names nothing: no reveal, and a launch finds no bundle.
    AppEntry cut{"com.cut", "Cut", "/Applications/Safari.app" + nul + "x", "always"};
    test::data("configure", {{"pinned", json::array({cut.dictionary()})}});
    controller = controllerSlot();
    ASSERT_TRUE(controller);
    stripOwner().contextMenu(cut, platform::ui::Event{});
    verb("choose 在 Finder 中显示");
    EXPECT_EQ(desktop::state()["revealed"].size(), 1u) << "the context menu revealed nothing more";
    test::data("launch", cut.dictionary());
    desktop::advance(1);
    const json events = test::data("events");
    ASSERT_EQ(events.size(), 1u) << events.dump();
    EXPECT_EQ(events[0].value("kind", ""), "error");
    EXPECT_TRUE(events[0].value("message", "").starts_with("找不到 Cut")) << events.dump();
    EXPECT_EQ(desktop::state().dump().find("\\u0000x"), std::string::npos) << "nothing was opened at the cut path";

    // A folder's path followed by NUL is not the folder: nothing is written
    // into it, nor over the file the cut path would name.
    const std::filesystem::path folder = diskPath("/Users/demo/Desktop");
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "keep.txt") << "kept";
    test::data("capture", {{"directory", "/Users/demo/Desktop/keep.txt" + nul}});
    test::data("capture", {{"directory", "/Users/demo/Desktop" + nul}});
    desktop::advance(1);
    EXPECT_FALSE(std::filesystem::exists(folder / "strip.png"));
    std::ifstream kept(folder / "keep.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "kept");
    test::data("capture", {{"directory", "/Users/demo/Desktop"}});
    EXPECT_TRUE(std::filesystem::exists(folder / "strip.png")) << "the same folder without the NUL is written";
}

}  // namespace
}  // namespace orvane::testing
