// Tests of the simulated Mac's workspace: the running applications as live
// objects, notifications and their tokens, opening applications with the
// completion on the system's own thread, Launch Services, icons and the
// recorded requests.

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <thread>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "desktop/apps/SimulatedNotificationCenter.h"
#include "desktop/files/Disk.h"
#include "platform/RunLoop.h"
#include "platform/Workspace.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "tests/desktop/ScratchDisk.h"

namespace {

using nlohmann::json;
using platform::RunningApp;
namespace note = platform::notification;

json workspaceScene() {
    return json::parse(R"({
      "apps": [
        {"bundleId": "com.apple.finder", "name": "Finder", "path": "/System/Library/CoreServices/Finder.app"},
        {"bundleId": "com.apple.Safari", "name": "Safari", "path": "/Applications/Safari.app"},
        {"bundleId": "com.apple.Music", "name": "Music", "path": "/System/Applications/Music.app", "running": false},
        {"bundleId": "com.example.Broken", "name": "Broken", "path": "/Applications/Broken.app", "running": false}
      ],
      "launchServices": {"com.tinyspeck.slackmacgap": "/Applications/Slack.app"},
      "active": "com.apple.Safari",
      "openLatency": 0.5,
      "openFailures": {"com.example.Broken": {"domain": "NSOSStatusErrorDomain", "code": -10827,
                                               "description": "Broken is damaged."}},
      "reduceMotion": true
    })");
}

class WorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override { desktop::reset(orvane::test::onScratchDisk(workspaceScene()), desktop::Clock::manual); }

    RunningApp running(const std::string& bundleId) {
        for (const auto& app : platform::workspace().runningApplications())
            if (app->bundleIdentifier() == bundleId) return app;
        return nullptr;
    }

    // What one open delivered to its completion handler.
    struct Outcome {
        std::mutex mutex;
        bool done = false;
        RunningApp app;
        std::optional<platform::Error> error;
        std::thread::id thread;
    };
    std::shared_ptr<Outcome> open(const std::string& path) {
        auto outcome = std::make_shared<Outcome>();
        platform::workspace().openApplication(path, true, [outcome](RunningApp app, std::optional<platform::Error> error) {
            std::lock_guard lock(outcome->mutex);
            outcome->app = std::move(app);
            outcome->error = std::move(error);
            outcome->thread = std::this_thread::get_id();
            outcome->done = true;
        });
        return outcome;
    }
    bool finished(const std::shared_ptr<Outcome>& outcome) {
        return desktop::runUntil([&] {
            std::lock_guard lock(outcome->mutex);
            return outcome->done;
        }, 5);
    }
};

// Tests that running applications come in a stable order with the host last,
// and are live objects that follow activation and quitting.
TEST_F(WorkspaceTest, RunningApplicationsAreLiveAndOrdered) {
    auto apps = platform::workspace().runningApplications();
    ASSERT_EQ(apps.size(), 3u);
    EXPECT_EQ(apps[0]->bundleIdentifier(), "com.apple.finder");
    EXPECT_EQ(apps[1]->bundleIdentifier(), "com.apple.Safari");
    EXPECT_EQ(apps[2]->processIdentifier(), getpid()) << "the host is this process";
    EXPECT_EQ(apps[2]->bundleIdentifier(), "com.velisk.orvane");
    EXPECT_EQ(apps[2]->localizedName(), "岚舟");
    std::set<int> pids;
    for (const auto& app : apps) pids.insert(app->processIdentifier());
    EXPECT_EQ(pids.size(), 3u) << "every process has its own pid";

    RunningApp safari = apps[1];
    EXPECT_TRUE(safari->isActive());
    EXPECT_TRUE(desktop::verb("activate com.apple.finder")["ok"].get<bool>());
    EXPECT_FALSE(safari->isActive());
    EXPECT_TRUE(apps[0]->isActive());

    EXPECT_TRUE(desktop::verb("quit com.apple.Safari")["ok"].get<bool>());
    EXPECT_TRUE(safari->isTerminated());
    EXPECT_EQ(running("com.apple.Safari"), nullptr);
    EXPECT_TRUE(desktop::verb("launch com.apple.Safari")["ok"].get<bool>());
    auto relaunched = running("com.apple.Safari");
    ASSERT_NE(relaunched, nullptr);
    EXPECT_NE(relaunched->processIdentifier(), safari->processIdentifier());
    EXPECT_EQ(platform::workspace().runningApplications().back(), relaunched) << "a launched app joins at the end";
    EXPECT_TRUE(platform::workspace().accessibilityDisplayShouldReduceMotion());
}

// Tests that notifications reach observers on a later turn of the main loop,
// only while registered, and that tokens are unique across both centres.
TEST_F(WorkspaceTest, NotificationsArriveLaterAndTokensRemove) {
    auto& center = platform::workspace().notificationCenter();
    std::vector<std::string> seen;
    auto launch = center.addObserver(note::didLaunchApplication, [&](const std::string& name) { seen.push_back(name); });
    auto terminate = center.addObserver(note::didTerminateApplication, [&](const std::string& name) { seen.push_back(name); });
    auto screens = platform::defaultNotificationCenter().addObserver(
        note::screenParametersDidChange, [&](const std::string& name) { seen.push_back(name); });
    EXPECT_NE(launch, terminate);
    EXPECT_NE(launch, screens);
    EXPECT_NE(terminate, screens);

    platform::workspace().openApplication("/System/Applications/Music.app", false, nullptr);
    desktop::advance(0.5);
    EXPECT_EQ(seen, (std::vector<std::string>{note::didLaunchApplication}));

    // The default centre does not know the workspace's tokens.
    platform::defaultNotificationCenter().removeObserver(launch);
    center.removeObserver(terminate);
    EXPECT_TRUE(desktop::verb("quit com.apple.Music")["ok"].get<bool>());
    EXPECT_TRUE(desktop::verb("launch com.apple.Music")["ok"].get<bool>());
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen.back(), note::didLaunchApplication);

    // Delivered on a later turn, and not to an observer removed in between.
    desktop::workspaceNotificationCenter().post(note::didLaunchApplication);
    EXPECT_EQ(seen.size(), 2u);
    desktop::pump();
    EXPECT_EQ(seen.size(), 3u);
    desktop::workspaceNotificationCenter().post(note::didLaunchApplication);
    center.removeObserver(launch);
    desktop::pump();
    EXPECT_EQ(seen.size(), 3u);

    EXPECT_TRUE(desktop::verb("screens [{\"frame\":[0,0,1440,900]}]")["ok"].get<bool>());
    EXPECT_EQ(seen.back(), note::screenParametersDidChange);
    platform::defaultNotificationCenter().removeObserver(screens);
}

// Tests that opening a stopped app launches and activates it after the
// scene's latency, with the completion on a thread that is not the main one.
TEST_F(WorkspaceTest, ThreadedOpenLaunchesAfterLatencyCompletingOffMain) {
    std::vector<std::string> seen;
    auto& center = platform::workspace().notificationCenter();
    auto t1 = center.addObserver(note::didLaunchApplication, [&](const std::string& n) { seen.push_back(n); });
    auto t2 = center.addObserver(note::didActivateApplication, [&](const std::string& n) { seen.push_back(n); });

    auto outcome = open("/System/Applications/Music.app");
    desktop::advance(0.4);
    EXPECT_EQ(running("com.apple.Music"), nullptr) << "not before the latency";
    desktop::advance(0.1);
    ASSERT_TRUE(finished(outcome));
    EXPECT_FALSE(outcome->error.has_value());
    ASSERT_NE(outcome->app, nullptr);
    EXPECT_EQ(outcome->app->bundleIdentifier(), "com.apple.Music");
    EXPECT_TRUE(outcome->app->isActive());
    EXPECT_NE(outcome->thread, std::this_thread::get_id());
    EXPECT_EQ(seen, (std::vector<std::string>{note::didLaunchApplication, note::didActivateApplication}));

    // Opening a running app activates it without a second launch.
    EXPECT_TRUE(desktop::verb("activate com.apple.finder")["ok"].get<bool>());
    auto again = open("/System/Applications/Music.app");
    desktop::advance(0.5);
    ASSERT_TRUE(finished(again));
    EXPECT_EQ(again->app, outcome->app);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), note::didLaunchApplication), 1);
    center.removeObserver(t1);
    center.removeObserver(t2);
}

// Tests the failures: a scene-provoked error by bundle id, a path that is no
// application (the platform's no-such-file error), and Launch Services lookups.
TEST_F(WorkspaceTest, OpenFailuresAndLaunchServices) {
    auto broken = open("/Applications/Broken.app");
    auto missing = open("/Applications/Nothing Here.app");
    desktop::advance(0.5);
    ASSERT_TRUE(finished(broken));
    ASSERT_TRUE(finished(missing));
    ASSERT_TRUE(broken->error.has_value());
    EXPECT_EQ(broken->error->domain, "NSOSStatusErrorDomain");
    EXPECT_EQ(broken->error->code, -10827);
    EXPECT_EQ(broken->error->description, "Broken is damaged.");
    EXPECT_EQ(broken->app, nullptr);
    EXPECT_EQ(running("com.example.Broken"), nullptr);
    ASSERT_TRUE(missing->error.has_value());
    EXPECT_EQ(missing->error->domain, "NSCocoaErrorDomain");
    EXPECT_EQ(missing->error->code, 260);
    EXPECT_NE(missing->error->description.find("Nothing Here.app"), std::string::npos);

    auto& workspace = platform::workspace();
    EXPECT_EQ(workspace.urlForApplication("com.tinyspeck.slackmacgap"), "/Applications/Slack.app");
    EXPECT_EQ(workspace.urlForApplication("com.apple.Music"), "/System/Applications/Music.app");
    EXPECT_EQ(workspace.urlForApplication("com.example.none"), std::nullopt);
    auto slack = open("/Applications/Slack.app");
    desktop::advance(0.5);
    ASSERT_TRUE(finished(slack));
    ASSERT_NE(slack->app, nullptr);
    EXPECT_EQ(slack->app->bundleIdentifier(), "com.tinyspeck.slackmacgap");
    EXPECT_EQ(slack->app->localizedName(), "Slack");

    auto opened = desktop::state()["opened"];
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened[0]["error"]["code"], -10827);
}

// Tests that an application bundle that exists only on the disk opens with
// the identifier of its Info.plist.
TEST_F(WorkspaceTest, OpenBundleFromDisk) {
    auto contents = std::filesystem::path(desktop::resolve("/Applications/Fresh.app/Contents"));
    std::filesystem::create_directories(contents);
    std::ofstream(contents / "Info.plist") << R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>CFBundleIdentifier</key><string>com.example.Fresh</string></dict></plist>)";
    auto fresh = open("/Applications/Fresh.app");
    desktop::advance(0.5);
    ASSERT_TRUE(finished(fresh));
    ASSERT_FALSE(fresh->error.has_value()) << fresh->error->description;
    EXPECT_EQ(fresh->app->bundleIdentifier(), "com.example.Fresh");
    EXPECT_EQ(fresh->app->localizedName(), "Fresh");

    // The launch verb finds such a bundle by its path too.
    std::filesystem::create_directories(contents.parent_path().parent_path() / "Second.app/Contents");
    std::filesystem::copy_file(contents / "Info.plist", contents.parent_path().parent_path() / "Second.app/Contents/Info.plist");
    auto launched = desktop::verb("launch /Applications/Second.app");
    std::filesystem::remove_all(contents.parent_path());
    std::filesystem::remove_all(contents.parent_path().parent_path() / "Second.app");
    EXPECT_TRUE(launched["ok"].get<bool>()) << launched;
    EXPECT_EQ(desktop::verb("launch /Applications/Missing.app")["ok"], false);
}

// Tests that icons come from the bundle's AppIcon.png when there is one and
// are otherwise drawn as a tile whose colour follows the path.
TEST_F(WorkspaceTest, IconsFromDiskOrGenerated) {
    auto resources = std::filesystem::path(desktop::resolve("/Applications/Iconic.app/Contents/Resources"));
    std::filesystem::create_directories(resources);
    platform::ui::Bitmap red(64, 64, {32, 32});
    for (auto& word : red.pixels()) word = 0xFFFF0000u;
    std::ofstream(resources / "AppIcon.png", std::ios::binary) << red.pngData();

    auto icon = platform::workspace().iconForFile("/Applications/Iconic.app");
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(icon->bitmap(), nullptr);
    EXPECT_EQ(icon->size(), (platform::Size{32, 32}));
    EXPECT_EQ(icon->bitmap()->pixelsWide(), 64);
    EXPECT_EQ(icon->bitmap()->pixel(10, 10).r, 255);

    // Each answer is an image of its own, so one caller's size is not another's.
    icon->setSize({18, 18});
    auto again = platform::workspace().iconForFile("/Applications/Iconic.app");
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, icon);
    EXPECT_EQ(again->size(), (platform::Size{32, 32}));
    EXPECT_EQ(again->bitmap()->pixel(10, 10).r, 255);
    // A file that changed is read again; a file that is gone gives the generated tile.
    platform::ui::Bitmap blue(128, 128, {32, 32});
    for (auto& word : blue.pixels()) word = 0xFF0000FFu;
    std::ofstream(resources / "AppIcon.png", std::ios::binary | std::ios::trunc) << blue.pngData();
    auto changed = platform::workspace().iconForFile("/Applications/Iconic.app");
    ASSERT_NE(changed, nullptr);
    ASSERT_NE(changed->bitmap(), nullptr);
    EXPECT_EQ(changed->bitmap()->pixelsWide(), 128);
    EXPECT_EQ(changed->bitmap()->pixel(10, 10).b, 255);
    std::filesystem::remove_all(resources.parent_path().parent_path());
    auto gone = platform::workspace().iconForFile("/Applications/Iconic.app");
    ASSERT_NE(gone, nullptr);
    EXPECT_EQ(gone->bitmap(), nullptr);

    auto centre = [](const std::shared_ptr<platform::ui::Image>& image) {
        auto view = std::make_shared<platform::ui::ImageView>(platform::Rect{0, 0, 32, 32});
        view->setImage(image);
        auto bitmap = view->bitmapForCachingDisplay(view->bounds());
        view->cacheDisplay(view->bounds(), *bitmap);
        return std::make_pair(bitmap->pixel(10, 32), bitmap->pixel(0, 0));  // left of the letter; outside the tile
    };
    // Bundles the disk does not hold.
    auto generated = platform::workspace().iconForFile("/Applications/Elsewhere One.app");
    ASSERT_NE(generated, nullptr);
    EXPECT_EQ(generated->bitmap(), nullptr);
    EXPECT_EQ(generated->size(), (platform::Size{32, 32}));
    auto [tile, corner] = centre(generated);
    EXPECT_EQ(tile.a, 255) << "the tile is opaque";
    EXPECT_EQ(corner.a, 0) << "the rounded corner is clear";
    auto [same, unusedCorner] = centre(platform::workspace().iconForFile("/Applications/Elsewhere One.app"));
    EXPECT_EQ(std::tie(same.r, same.g, same.b), std::tie(tile.r, tile.g, tile.b));
    auto [other, unused] = centre(platform::workspace().iconForFile("/Applications/Elsewhere Two.app"));
    EXPECT_NE(std::tie(other.r, other.g, other.b), std::tie(tile.r, tile.g, tile.b));
    EXPECT_NE(platform::workspace().iconForFile(""), nullptr);
    EXPECT_NE(platform::workspace().iconForFile(std::string("/\xff\xfe.app", 7)), nullptr);
}

// Tests that revealing files and opening URLs are recorded, and that only
// text with a scheme counts as a URL.
TEST_F(WorkspaceTest, RevealAndOpenURLAreRecorded) {
    platform::workspace().activateFileViewerSelecting({"/Applications/Safari.app"});
    EXPECT_TRUE(platform::workspace().openURL("x-apple.systempreferences:com.apple.preference.security"));
    EXPECT_FALSE(platform::workspace().openURL("not a url"));
    EXPECT_FALSE(platform::workspace().openURL(""));
    auto state = desktop::state();
    EXPECT_EQ(state["revealed"], json::parse(R"([["/Applications/Safari.app"]])"));
    EXPECT_EQ(state["openedURLs"], json::parse(R"(["x-apple.systempreferences:com.apple.preference.security"])"));
}

}  // namespace
