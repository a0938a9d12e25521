// Tests of scripting the simulated Mac: the verbs with their replies and
// failures, the C API a host in another language uses, the process tools'
// view of processes, and the embedded default scene.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "desktop/apps/Processes.h"
#include "desktop/files/Disk.h"
#include "orvane_desktop.h"
#include "platform/Application.h"
#include "platform/RunLoop.h"
#include "platform/Workspace.h"
#include "tests/desktop/ScratchDisk.h"

namespace {

using nlohmann::json;
namespace note = platform::notification;

json verbScene() {
    return json::parse(R"({
      "apps": [
        {"bundleId": "com.apple.finder", "name": "Finder", "path": "/System/Library/CoreServices/Finder.app"},
        {"bundleId": "com.apple.dock", "name": "Dock", "path": "/System/Library/CoreServices/Dock.app",
         "activationPolicy": "prohibited"},
        {"bundleId": "com.apple.Notes", "name": "Notes", "path": "/System/Applications/Notes.app"},
        {"bundleId": "com.apple.Music", "name": "Music", "path": "/System/Applications/Music.app", "running": false}
      ],
      "active": "com.apple.Notes"
    })");
}

class VerbsTest : public ::testing::Test {
protected:
    void SetUp() override {
        desktop::reset(orvane::test::onScratchDisk(verbScene()), desktop::Clock::manual);
        for (const char* name : {note::didLaunchApplication, note::didTerminateApplication, note::didActivateApplication,
                                 note::didUnhideApplication, note::didWake, note::activeSpaceDidChange})
            tokens_.push_back(platform::workspace().notificationCenter().addObserver(
                name, [this](const std::string& n) { seen.push_back(n); }));
    }
    void TearDown() override {
        for (const auto& token : tokens_) platform::workspace().notificationCenter().removeObserver(token);
    }

    json running(const std::string& bundleId) {
        json state = desktop::state();
        for (const auto& app : state["running"])
            if (app["bundleId"] == bundleId) return app;
        return nullptr;
    }

    std::vector<std::string> seen;

private:
    std::vector<platform::ObserverToken> tokens_;
};

// Tests that the app verbs change the processes, post their notifications
// before replying, and refuse what makes no sense.
TEST_F(VerbsTest, AppVerbsChangeProcesses) {
    auto launched = desktop::verb("launch Music");
    ASSERT_TRUE(launched["ok"].get<bool>()) << launched;
    EXPECT_EQ(running("com.apple.Music")["pid"], launched["pid"]);
    EXPECT_EQ(seen, (std::vector<std::string>{note::didLaunchApplication}));

    EXPECT_TRUE(desktop::verb("activate com.apple.Music")["ok"].get<bool>());
    EXPECT_EQ(desktop::state()["active"], "com.apple.Music");
    EXPECT_TRUE(desktop::verb("hide /System/Applications/Music.app")["ok"].get<bool>());
    EXPECT_TRUE(running("com.apple.Music")["hidden"].get<bool>());
    EXPECT_TRUE(desktop::verb("unhide com.apple.Music")["ok"].get<bool>());
    EXPECT_FALSE(running("com.apple.Music")["hidden"].get<bool>());

    // Quitting the active app hands activation to Finder.
    EXPECT_TRUE(desktop::verb("quit com.apple.Music")["ok"].get<bool>());
    EXPECT_EQ(running("com.apple.Music"), nullptr);
    EXPECT_EQ(desktop::state()["active"], "com.apple.finder");
    EXPECT_TRUE(desktop::verb("wake")["ok"].get<bool>());
    EXPECT_TRUE(desktop::verb("space")["ok"].get<bool>());
    EXPECT_EQ(seen, (std::vector<std::string>{note::didLaunchApplication, note::didActivateApplication,
                                              note::didUnhideApplication, note::didTerminateApplication,
                                              note::didActivateApplication, note::didWake, note::activeSpaceDidChange}));

    for (const char* refused : {"launch com.apple.Notes", "quit com.apple.Music", "quit com.velisk.orvane",
                                "activate com.example.none", "launch", "hide"}) {
        auto reply = desktop::verb(refused);
        EXPECT_FALSE(reply["ok"].get<bool>()) << refused;
        EXPECT_TRUE(reply["error"].is_string()) << refused;
    }
}

// Tests that the application activating itself (as a window brought forward
// from a menu-bar app does) becomes the active one with one notification.
TEST_F(VerbsTest, HostActivatesIgnoringOtherApps) {
    EXPECT_EQ(desktop::state()["active"], "com.apple.Notes");
    platform::application().activateIgnoringOtherApps(true);
    desktop::pump();
    EXPECT_EQ(desktop::state()["active"], "com.velisk.orvane");
    EXPECT_EQ(seen, (std::vector<std::string>{note::didActivateApplication}));
    platform::application().activateIgnoringOtherApps(true);
    desktop::pump();
    EXPECT_EQ(seen.size(), 1u) << "already active: nothing to tell";
}

// Tests that malformed and unknown verbs fail with a message and no crash,
// and that grant, revoke and advance work.
TEST_F(VerbsTest, MalformedVerbsFail) {
    for (const char* bad : {"", "   ", "fly away", "advance", "advance abc", "advance -1", "advance 1x", "advance nan",
                            "grant", "grant everything", "revoke screen now", "wake up", "screens {", "screens 5",
                            "state please"}) {
        auto reply = desktop::verb(bad);
        EXPECT_EQ(reply["ok"], false) << "'" << bad << "'";
        EXPECT_TRUE(reply["error"].is_string()) << bad;
    }
    EXPECT_TRUE(desktop::verb("grant screen")["ok"].get<bool>());
    EXPECT_EQ(desktop::state()["screenCapture"]["granted"], true);
    EXPECT_TRUE(desktop::verb("revoke screen")["ok"].get<bool>());
    EXPECT_EQ(desktop::state()["screenCapture"]["granted"], false);

    int ran = 0;
    platform::runLoop().after(2.5, [&] { ++ran; });
    auto advanced = desktop::verb("advance 2.5");
    EXPECT_TRUE(advanced["ok"].get<bool>());
    EXPECT_DOUBLE_EQ(advanced["now"].get<double>(), 2.5);
    EXPECT_EQ(ran, 1);
    auto state = desktop::verb("state");
    EXPECT_TRUE(state["ok"].get<bool>());
    EXPECT_EQ(state["state"]["clock"], "manual");
}

// Tests making a folder on the simulated disk and pulling a file off it onto
// this machine, and the failures of both.
TEST_F(VerbsTest, DiskVerbsMakeFoldersAndPullFiles) {
    for (const char* bad : {"mkdir", "mkdir relative/path", "pull", "pull /a", "pull relative /tmp/x",
                            "pull /no/such/file /tmp/orvane-pull-never"}) {
        auto reply = desktop::verb(bad);
        EXPECT_EQ(reply["ok"], false) << "'" << bad << "'";
        EXPECT_TRUE(reply["error"].is_string()) << bad;
    }
    EXPECT_FALSE(std::filesystem::exists("/tmp/orvane-pull-never"));

    ASSERT_TRUE(desktop::verb("mkdir /Users/demo/Saved Pictures/2026")["ok"].get<bool>());
    const auto folder = std::filesystem::path(desktop::resolve("/Users/demo/Saved Pictures/2026"));
    ASSERT_TRUE(std::filesystem::is_directory(folder));
    std::ofstream(folder / "a.txt") << "picture";
    // A folder is not a file to pull.
    EXPECT_EQ(desktop::verb("pull /Users/demo/Saved /tmp/x")["ok"], false);

    const auto local = std::filesystem::temp_directory_path() / ("orvane pulled " + std::to_string(::getpid()));
    std::filesystem::create_directories(folder.parent_path().parent_path() / "Pictures");
    std::ofstream(folder.parent_path().parent_path() / "Pictures" / "b.txt") << "bytes";
    auto pulled = desktop::verb("pull /Users/demo/Pictures/b.txt " + local.string());
    ASSERT_TRUE(pulled["ok"].get<bool>()) << pulled.dump();
    std::ifstream copy(local);
    std::string text;
    copy >> text;
    EXPECT_EQ(text, "bytes");
    std::filesystem::remove(local);
}

// Tests the C API: reset with a scene or the default, refusing non-objects,
// verbs answering JSON text even for malformed UTF-8, and the clock.
TEST_F(VerbsTest, CApiForOtherLanguages) {
    EXPECT_EQ(orvane_desktop_reset("[1,2]", 1), 0);
    EXPECT_EQ(orvane_desktop_reset("{not json", 1), 0);
    EXPECT_NE(running("com.apple.Notes"), nullptr) << "a refused scene leaves the desktop alone";
    EXPECT_EQ(orvane_desktop_reset(R"({"apps":[{"bundleId":"com.example.A","name":"A"}]})", 1), 1);
    EXPECT_EQ(desktop::state()["running"].size(), 2u);

    EXPECT_NO_THROW(desktop::verb("quit \xff\xfe").dump()) << "replies are valid UTF-8";
    char* reply = orvane_desktop_verb("launch \xff\xfe");
    ASSERT_NE(reply, nullptr);
    auto parsed = json::parse(reply, nullptr, false);
    orvane_desktop_free(reply);
    ASSERT_FALSE(parsed.is_discarded());
    EXPECT_EQ(parsed["ok"], false);
    reply = orvane_desktop_verb(nullptr);
    EXPECT_EQ(json::parse(reply)["ok"], false);
    orvane_desktop_free(reply);
    orvane_desktop_free(nullptr);

    int ran = 0;
    platform::runLoop().after(1, [&] { ++ran; });
    orvane_desktop_advance(1);
    EXPECT_EQ(ran, 1);

    EXPECT_EQ(orvane_desktop_reset(nullptr, 1), 1);
    EXPECT_NE(running("com.apple.Safari"), nullptr) << "null gives the default scene";
}

// Tests that the process tools find processes by name and restart them under
// a new pid with the terminate and launch notifications.
TEST_F(VerbsTest, ProcessesByName) {
    EXPECT_TRUE(desktop::processRunning("Dock"));
    EXPECT_FALSE(desktop::processRunning("Music"));
    EXPECT_FALSE(desktop::processRunning(""));
    auto before = running("com.apple.dock")["pid"];
    EXPECT_TRUE(desktop::relaunchProcess("Dock"));
    desktop::pump();
    auto after = running("com.apple.dock")["pid"];
    EXPECT_NE(before, after);
    EXPECT_EQ(seen, (std::vector<std::string>{note::didTerminateApplication, note::didLaunchApplication}));
    EXPECT_FALSE(desktop::relaunchProcess("Music"));
    EXPECT_FALSE(desktop::relaunchProcess("岚舟")) << "the host is a real process";
}

// Tests that the default scene is the demo Mac the documentation describes.
TEST_F(VerbsTest, DefaultSceneIsTheDemoMac) {
    desktop::reset(desktop::defaultScene(), desktop::Clock::manual);
    auto state = desktop::state();
    EXPECT_EQ(state["active"], "com.apple.Safari");
    std::set<int> pids;
    std::set<std::string> names;
    for (const auto& app : state["running"]) {
        pids.insert(app["pid"].get<int>());
        names.insert(app["name"].get<std::string>());
        if (app["pid"] == getpid()) {
            EXPECT_EQ(app["bundleId"], "com.velisk.orvane");
        }
    }
    EXPECT_EQ(pids.size(), state["running"].size()) << "no two processes share a pid";
    for (const char* name : {"Finder", "Dock", "Safari", "邮件", "备忘录", "终端", "Visual Studio Code", "Dropbox", "岚舟"})
        EXPECT_TRUE(names.count(name)) << name;
    EXPECT_FALSE(names.count("音乐"));
    EXPECT_EQ(platform::workspace().urlForApplication("com.tinyspeck.slackmacgap"), "/Applications/Slack.app");
    EXPECT_EQ(state["statusBarThickness"], 37);
    ASSERT_FALSE(state["screens"].empty());
}

}  // namespace
