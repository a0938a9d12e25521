// Tests of card.png: the card rendered in each of its states, light and
// dark, with a landscape and a portrait window. Pixels are sampled where
// the picture must be transparent (the rounded corners), where the material
// must show, and where the captured window's body must show. Set
// ORVANE_CARD_PICTURES to a folder to keep every picture for a look.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "platform/ui/Bitmap.h"
#include "platform/ui/Window.h"
#include "tests/preview/PreviewFixture.h"
#include "tests/support/Call.h"
#include "tests/support/PngFile.h"
#include "tests/support/StraightPixels.h"

namespace orvane::testing {
namespace {

using test::data;

using Pixel = orvane::test::PngFile::Pixel;

// A decoded PNG, pixels addressed in points at scale 2.
class Picture : public orvane::test::PngFile {
public:
    using PngFile::PngFile;
    // The pixel at (x, y) points, y measured from the bottom as the card's coordinates are.
    Pixel at(double x, double y) const { return pixel(static_cast<int>(x * 2), height() - 1 - static_cast<int>(y * 2)); }
};

class CardPictureTest : public PreviewTest {
protected:
    void SetUp() override {
        PreviewTest::SetUp();
        const char* keep = std::getenv("ORVANE_CARD_PICTURES");
        folder = keep ? std::filesystem::path(keep) : disk / "pictures";
        std::filesystem::create_directories(folder);
        std::filesystem::create_directories(diskPath(captureFolder));
    }

    // Saves the open card in both appearances; returns the light picture's path.
    std::string save(const std::string& name) {
        std::string light;
        for (bool dark : {false, true}) {
            data("appearance", {{"dark", dark}});
            data("capture", {{"directory", captureFolder}});
            auto path = folder / (name + (dark ? "-dark.png" : "-light.png"));
            std::filesystem::rename(diskPath(captureFolder) + "/card.png", path);
            if (!dark) light = path.string();
        }
        data("appearance", {{"dark", false}});
        return light;
    }

    // Checks what every card shows: the card's size at scale 2, transparent
    // rounded corners, and opaque-enough material inside.
    void expectCard(const Picture& picture, double height) {
        ASSERT_TRUE(picture.valid());
        EXPECT_EQ(picture.width(), 672);
        EXPECT_EQ(picture.height(), static_cast<int>(height * 2));
        EXPECT_EQ(picture.at(0.5, 0.5).a, 0) << "rounded bottom-left corner";
        EXPECT_EQ(picture.at(335.5, height - 0.5).a, 0) << "rounded top-right corner";
        EXPECT_GT(picture.at(168, 4).a, 200) << "the material";
    }

    // The capture folder on the simulated disk, and where the pictures end up.
    static constexpr const char* captureFolder = "/captures";
    std::filesystem::path folder;
};

// Tests each state without an image: the card is 336 x 162 with its
// placeholder in the viewport.
TEST_F(CardPictureTest, StatesWithoutImage) {
    json apps = json::array({
        app("com.example.idle", "Idle", 700, false),
        windowApp("com.example.empty", "Empty", 701, json::array()),
        windowApp("com.example.broken", "Broken", 702, json::array({window(71, "Broken", 600, 400)})),
        windowApp("com.example.mail", "邮件", 703, json::array({window(72, "收件箱", 900, 600)})),
    });
    startWith(apps, {{"captureOutcomes", {{"com.example.broken", "fail"}}}});
    const std::function<void()> steps[] = {
        [&] { open(0); },
        [&] { open(1); },
        [&] { desktop::advance(0); },
        [&] { open(2); desktop::advance(0); },
        [&] { verb("revoke screen"); open(3); },
        [&] { controller->hoverCard().preview()->retryAction(); },
        [&] { verb("grant screen"); desktop::advance(0); data("closeCard"); verb("capture decline 72"); open(3); desktop::advance(0); },
    };
    const char* names[] = {"notRunning", "loading", "noWindow", "unavailable", "permissionRequired", "rechecking", "declined"};
    const char* states[] = {"notRunning", "loading", "noWindow", "unavailable", "permissionRequired", "permissionRequired",
                            "permissionRequired"};
    for (int i = 0; i < 7; ++i) {
        steps[i]();
        ASSERT_TRUE(controller->hoverCard().preview()) << names[i];
        EXPECT_EQ(report()["status"], states[i]);
        Picture picture(save(names[i]));
        expectCard(picture, 162);
        // The viewport's tinted background sits between the footer and the header.
        EXPECT_GT(picture.at(20, 50).a, 200) << names[i];
    }
}

// Tests live cards of a landscape and a portrait window: the window's body
// colour shows inside the viewport, and the card takes the window's shape.
TEST_F(CardPictureTest, LiveLandscapeAndPortrait) {
    json apps = json::array({
        windowApp("com.example.notes", "备忘录", 700,
                  json::array({window(81, "Notes", 1600, 1000, {{"color", "#2050a0"}}),
                               window(82, "购物清单", 340, 560, {{"color", "#c03020"}})})),
    });
    startWith(apps);
    open(0);
    desktop::advance(0.5);
    EXPECT_EQ(report()["status"], "live");
    Picture landscape(save("live-landscape"));
    expectCard(landscape, 197.5 + 82);
    Pixel body = landscape.at(168, 34 + 197.5 * 0.3);
    EXPECT_LT(body.r, 90) << "blue body";
    EXPECT_GT(body.b, 120) << "blue body";

    data("previewStep");
    desktop::advance(0.5);
    EXPECT_EQ(report()["windowID"], 82);
    Picture portrait(save("live-portrait"));
    expectCard(portrait, 202 + 82);
    Pixel red = portrait.at(168, 34 + 202 * 0.3);
    EXPECT_GT(red.r, 150) << "red body";
    EXPECT_LT(red.b, 90) << "red body";
    Pixel beside = portrait.at(40, 34 + 101);
    EXPECT_GT(beside.a, 200) << "beside a portrait window the viewport's background shows";
    EXPECT_LT(std::abs(beside.r - beside.b), 20) << "grey, not the window's red";
}

// Tests that capture writes card.png only while a card is open, leaving an
// older one in place otherwise.
TEST_F(CardPictureTest, NoCardNoPicture) {
    startWith(json::array({app("com.example.idle", "Idle", 700, false)}));
    const std::string card = diskPath(captureFolder) + "/card.png";
    data("capture", {{"directory", captureFolder}});
    EXPECT_FALSE(std::filesystem::exists(card));
    open(0);
    data("capture", {{"directory", captureFolder}});
    ASSERT_TRUE(std::filesystem::exists(card));
    const auto written = std::filesystem::last_write_time(card);
    data("closeCard");
    data("capture", {{"directory", captureFolder}});
    EXPECT_TRUE(std::filesystem::exists(card));
    EXPECT_EQ(std::filesystem::last_write_time(card), written);
    EXPECT_TRUE(std::filesystem::exists(diskPath(captureFolder) + "/strip.png"));
}

// Tests that the live card and the settings window, light and dark, decode
// to the very pixels Cairo's own writer wrote for the same bitmaps.
TEST_F(CardPictureTest, CardAndSettingsPixelsAreCairosPixels) {
    startWith(json::array({windowApp("com.example.notes", "备忘录", 700,
                                     json::array({window(81, "Notes", 1600, 1000, {{"color", "#2050a0"}})}))}));
    data("settingsShow");
    desktop::advance(0.5);
    open(0);
    desktop::advance(0.5);
    for (bool dark : {false, true}) {
        data("appearance", {{"dark", dark}});
        ASSERT_TRUE(controller->hoverCard().window() && controller->settingsWindow());
        for (const auto& view : {controller->hoverCard().window()->contentView(), controller->settingsWindow()->contentView()}) {
            ASSERT_TRUE(view);
            auto bitmap = view->bitmapForCachingDisplay(view->bounds());
            ASSERT_TRUE(bitmap);
            view->cacheDisplay(view->bounds(), *bitmap);
            const auto ours = test::decodeStraight(bitmap->pngData());
            ASSERT_EQ(ours.width, bitmap->pixelsWide());
            EXPECT_TRUE(ours == test::decodeStraight(test::cairoPng(*bitmap))) << (dark ? "dark" : "light");
        }
    }
}

}  // namespace
}  // namespace orvane::testing
