// Tests of the capture command and of saving one of our windows into a
// folder: which files appear, in which cases nothing is written, the window
// captured with its frame at twice its size once the service answers, and
// the error file a failed listing or capture leaves, written atomically.
// The windows saved here are made by the tests, as the settings window
// would be: titled, with or without a full-size content view.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/ui/Canvas.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "preview/SurfaceCapture.h"
#include "tests/preview/PreviewFixture.h"
#include "tests/support/Call.h"
#include "tests/support/PngFile.h"
#include "tests/support/SolidView.h"

namespace orvane::testing {
namespace {

using orvane::test::SolidView;

namespace fs = std::filesystem;
namespace ui = platform::ui;
using test::data;
using test::PngFile;

constexpr const char* folder = "/captures";

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

class CaptureCommandTest : public PreviewTest {
protected:
    // The scene with an application to hover; screen recording as given.
    void startScene(bool screenRecording, json extra = json::object()) {
        extra["screenCaptureGranted"] = screenRecording;
        startWith(json::array({windowApp("com.example.notes", "Notes", 700, json::array({window(41, "Notes", 800, 600)}))}),
                  std::move(extra));
        fs::create_directories(real());
    }

    // A titled window of ours, on screen, 700 x 500 points.
    std::shared_ptr<ui::Window> ourWindow(bool fullSizeContent = true) {
        unsigned style = ui::styleMask::titled | ui::styleMask::closable;
        if (fullSizeContent) style |= ui::styleMask::fullSizeContentView;
        auto made = ui::Window::create({200, 150, 700, 500}, style);
        made->setTitle("Saved window");
        // Content that paints every point, so a rendered picture is opaque to its corners.
        made->setContentView(std::make_shared<SolidView>(platform::Rect{}, ui::Color::systemBlue()));
        made->orderFront();
        return made;
    }

    fs::path real(const std::string& name = "") const {
        return name.empty() ? fs::path(diskPath(folder)) : fs::path(diskPath(folder)) / name;
    }
    // The names in the capture folder, hidden ones included.
    std::set<std::string> names() const {
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(real())) found.insert(entry.path().filename().string());
        return found;
    }
    json lastCapture() { return desktop::state()["capture"]["lastCapture"]; }
    json lastListing() { return desktop::state()["capture"]["lastListing"]; }
};

// Tests that the command saves the strip and an open card, that without a
// usable folder argument, or with a folder that is missing or is a file,
// nothing is written anywhere and no folder is made.
TEST_F(CaptureCommandTest, SavesOnlyIntoAnExistingFolder) {
    startScene(true);
    open(0);
    data("capture", {{"directory", std::string(folder) + "/"}});
    EXPECT_EQ(names(), (std::set<std::string>{"strip.png", "card.png"})) << "no settings window has been made";
    EXPECT_EQ(PngFile(real("card.png")).width(), 672);
    EXPECT_EQ(listings(), 1) << "only the card's own listing: nothing else is captured";

    const std::set<std::string> rootBefore = [&] {
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(disk)) found.insert(entry.path().filename().string());
        return found;
    }();
    writeText(disk / "plain-file", "untouched");
    for (const json& args : {json::object(), json{{"directory", 5}}, json{{"directory", ""}},
                             json{{"directory", "/missing"}}, json{{"directory", "/plain-file"}},
                             json{{"directory", "/missing/deeper/"}},
                             json{{"directory", std::string("/plain-file") + '\0'}}}) {
        data("capture", args);
        EXPECT_FALSE(fs::exists(disk / "strip.png")) << args.dump();
        EXPECT_FALSE(fs::exists(disk / "missing")) << args.dump();
    }
    EXPECT_EQ(readText(disk / "plain-file"), "untouched");
    std::set<std::string> rootAfter;
    for (const auto& entry : fs::directory_iterator(disk)) rootAfter.insert(entry.path().filename().string());
    rootAfter.erase("plain-file");
    EXPECT_EQ(rootAfter, rootBefore);
}

// Tests that a capture into a folder reached through a link to an absolute
// path of this machine writes into the disk's folder of that path, never
// this machine's: nothing while the disk has no such folder, the pictures
// there once it has; and a link that climbs with ".." stops at the disk's root.
TEST_F(CaptureCommandTest, LinkedFolderIsTheDisksOwn) {
    startScene(true);
    const fs::path machine = fs::path(::testing::TempDir()) / ("orvane-capture-off-disk-" + std::to_string(::getpid()));
    fs::remove_all(machine);
    fs::create_directories(machine);
    fs::create_directory_symlink(machine, real("linked"));
    fs::create_directory_symlink("../../../../../../../captures", real("climbing"));

    data("capture", {{"directory", std::string(folder) + "/linked"}});
    EXPECT_TRUE(fs::is_empty(machine)) << "written outside the disk";
    EXPECT_FALSE(fs::exists(disk / machine.relative_path()));

    fs::create_directories(disk / machine.relative_path());
    data("capture", {{"directory", std::string(folder) + "/linked"}});
    EXPECT_TRUE(fs::is_empty(machine)) << "written outside the disk";
    EXPECT_TRUE(fs::exists(disk / machine.relative_path() / "strip.png"));

    data("capture", {{"directory", std::string(folder) + "/climbing"}});
    EXPECT_TRUE(fs::exists(real("strip.png"))) << "the climb ends at the disk's root, whose /captures it reaches";
    fs::remove_all(machine);
}

// Tests that a folder the process may not write to gets nothing and costs no crash.
TEST_F(CaptureCommandTest, ReadOnlyFolderGetsNothing) {
    startScene(true);
    auto saved = ourWindow();
    fs::permissions(real(), fs::perms::owner_read | fs::perms::owner_exec);
    if (access(real().c_str(), W_OK) == 0) {
        fs::permissions(real(), fs::perms::owner_all);
        GTEST_SKIP() << "this user writes into read-only folders (root): nothing to check";
    }
    data("capture", {{"directory", folder}});
    captureWindowSurface(*saved, folder, captureFile::settings);
    verb("capture fail " + std::to_string(saved->windowNumber()));
    desktop::advance(0);
    fs::permissions(real(), fs::perms::owner_all);
    EXPECT_TRUE(names().empty());
}

// Tests that without screen recording the window's file is its content view
// rendered alone (no frame, opaque to its corners) and nothing is listed,
// captured or reported.
TEST_F(CaptureCommandTest, WithoutPermissionTheContentIsRenderedOnly) {
    startScene(false);
    auto saved = ourWindow();
    captureWindowSurface(*saved, folder, captureFile::settings);
    desktop::advance(1);
    PngFile picture(real("settings.png"));
    ASSERT_TRUE(picture.valid());
    EXPECT_EQ(picture.width(), 1400);
    EXPECT_EQ(picture.height(), 1000);
    EXPECT_EQ(picture.pixel(0, 0).a, 255) << "the content view reaches the corner: no window outline";
    EXPECT_EQ(names(), std::set<std::string>{"settings.png"});
    EXPECT_EQ(listings(), 0);
    EXPECT_EQ(captures(), 0);
}

// Tests that with screen recording the rendered file is replaced, after the
// reply, by the window as the service captures it: twice the listed frame
// in pixels, no scaling, no cursor, no shadow, the child-window option left
// alone, from a listing of the on-screen windows only.
TEST_F(CaptureCommandTest, CapturedWindowIsTwiceItsSize) {
    startScene(true);
    auto saved = ourWindow();
    captureWindowSurface(*saved, folder, captureFile::settings);
    EXPECT_EQ(PngFile(real("settings.png")).pixel(0, 0).a, 255) << "rendered at once";
    EXPECT_EQ(lastListing(), (json{{"excludingDesktopWindows", true}, {"onScreenWindowsOnly", true}}));

    desktop::advance(0);
    PngFile picture(real("settings.png"));
    ASSERT_TRUE(picture.valid());
    EXPECT_EQ(picture.width(), 1400);
    EXPECT_EQ(picture.height(), 1000);
    EXPECT_EQ(picture.pixel(0, 0).a, 0) << "the window's rounded outline";
    EXPECT_EQ(lastCapture(), (json{{"windowID", saved->windowNumber()}, {"width", 1400}, {"height", 1000},
                                   {"scalesToFit", false}, {"showsCursor", false},
                                   {"ignoreShadowsSingleWindow", true}, {"includeChildWindows", nullptr}}));
    EXPECT_EQ(names(), std::set<std::string>{"settings.png"});

    // A window whose title bar sits above its content is listed, and saved, taller.
    auto framed = ourWindow(false);
    captureWindowSurface(*framed, folder, "framed.png");
    EXPECT_EQ(PngFile(real("framed.png")).height(), 1000) << "the content view alone";
    desktop::advance(0);
    EXPECT_EQ(PngFile(real("framed.png")).height(), 1056);
    EXPECT_EQ(PngFile(real("framed.png")).width(), 1400);
}

// Tests that a failed capture or listing leaves the service's description
// in capture-error.txt, written by renaming a new file into place (a file
// linked to the old one keeps the old text, no temporary file is left), and
// that a later success leaves the error file where it is.
TEST_F(CaptureCommandTest, FailureLeavesTheErrorFileAtomically) {
    startScene(true);
    auto saved = ourWindow();
    const std::string number = std::to_string(saved->windowNumber());
    writeText(real("earlier.txt"), "earlier");
    fs::create_hard_link(real("earlier.txt"), real("capture-error.txt"));

    verb("capture fail " + number);
    captureWindowSurface(*saved, folder, captureFile::settings);
    desktop::advance(0);
    EXPECT_EQ(readText(real("capture-error.txt")), "The capture failed because of an internal error.");
    EXPECT_EQ(readText(real("earlier.txt")), "earlier") << "replaced by rename, not rewritten in place";
    EXPECT_EQ(PngFile(real("settings.png")).pixel(0, 0).a, 255) << "the rendered picture stays";
    EXPECT_EQ(names(), (std::set<std::string>{"capture-error.txt", "earlier.txt", "settings.png"}));

    verb("capture ok " + number);
    verb(R"(capture fail listing {"domain":"Test","code":7,"description":"列表失败 \u2014 listing failed"})");
    captureWindowSurface(*saved, folder, captureFile::settings);
    desktop::advance(0);
    EXPECT_EQ(readText(real("capture-error.txt")), "列表失败 \u2014 listing failed");
    EXPECT_EQ(captures(), 1) << "the first capture only: none after the failed listing";

    verb("capture ok listing");
    captureWindowSurface(*saved, folder, captureFile::settings);
    desktop::advance(0);
    EXPECT_EQ(PngFile(real("settings.png")).pixel(0, 0).a, 0) << "captured this time";
    EXPECT_EQ(readText(real("capture-error.txt")), "列表失败 \u2014 listing failed") << "an earlier error file stays";
    EXPECT_EQ(names(), (std::set<std::string>{"capture-error.txt", "earlier.txt", "settings.png"}));

    // The error file cannot take the place of a folder of that name: nothing breaks, nothing is left.
    fs::remove(real("capture-error.txt"));
    fs::create_directory(real("capture-error.txt"));
    verb("capture fail " + number);
    captureWindowSurface(*saved, folder, captureFile::settings);
    desktop::advance(0);
    EXPECT_TRUE(fs::is_directory(real("capture-error.txt")));
    EXPECT_EQ(names(), (std::set<std::string>{"capture-error.txt", "earlier.txt", "settings.png"}));
}

// Tests that a window leaving the screen before the listing answers ends the
// job without a file or an error, and that a folder removed before the
// answer is not made again.
TEST_F(CaptureCommandTest, WindowOrFolderGoneBeforeTheAnswer) {
    startScene(true, {{"captureLatency", 0.5}});
    auto saved = ourWindow();
    const long capturesBefore = captures();
    captureWindowSurface(*saved, folder, captureFile::settings);
    saved->orderOut();
    desktop::advance(1);
    EXPECT_EQ(captures(), capturesBefore) << "nothing on screen to capture";
    EXPECT_EQ(PngFile(real("settings.png")).pixel(0, 0).a, 255);
    EXPECT_EQ(names(), std::set<std::string>{"settings.png"});

    // Released between listing and capture: the service's error is the only trace.
    saved->orderFront();
    captureWindowSurface(*saved, folder, captureFile::settings);
    desktop::advance(0.5);
    EXPECT_EQ(captures(), capturesBefore + 1);
    saved.reset();
    desktop::advance(0.5);
    EXPECT_EQ(readText(real("capture-error.txt")), "The window is no longer available for capture.");

    auto again = ourWindow();
    captureWindowSurface(*again, folder, captureFile::settings);
    fs::remove_all(real());
    desktop::advance(1);
    EXPECT_FALSE(fs::exists(real()));
}

// Tests that stopping the controller while its window's capture waits ends
// quietly: the window is ordered out, so nothing is captured or reported,
// and nothing runs against the released controller.
TEST_F(CaptureCommandTest, StopDuringTheCapture) {
    load(scene(json::array(), {{"screenCaptureGranted", true}, {"captureLatency", 0.5}}));
    data("start", {{"qaMode", true}});
    controller = controllerSlot();
    data("qaSelfPreview");
    fs::create_directories(real());
    auto window = controller->state().qaPreviewWindow;
    ASSERT_TRUE(window);
    const long capturesBefore = captures();
    captureWindowSurface(*window, folder, captureFile::settings);
    data("stop");
    controller.reset();
    window.reset();
    desktop::advance(2);
    EXPECT_EQ(captures(), capturesBefore);
    EXPECT_EQ(names(), std::set<std::string>{"settings.png"});
}

}  // namespace
}  // namespace orvane::testing
