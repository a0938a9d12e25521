// Tests that views render into bitmaps the way the platform's offscreen
// rendering does: semantic colours per appearance, subview alpha and
// hiding, text, cropping and PNG encoding.

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/ui/Bitmap.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"
#include "tests/support/SolidView.h"

namespace {

using orvane::test::SolidView;

using namespace platform;
using namespace platform::ui;

std::shared_ptr<Bitmap> render(View& view) {
    auto bitmap = view.bitmapForCachingDisplay(view.bounds());
    if (bitmap) view.cacheDisplay(view.bounds(), *bitmap);
    return bitmap;
}

// The pixel under a point of the view (bottom-left origin, in points).
Bitmap::Pixel at(const Bitmap& bitmap, double x, double y) {
    double s = bitmap.scale();
    return bitmap.pixel(static_cast<int>(x * s), static_cast<int>((bitmap.size().height - y) * s) - 1);
}

int inkedPixels(const Bitmap& bitmap) {
    int count = 0;
    for (std::uint32_t word : bitmap.pixels()) count += (word >> 24) > 0;
    return count;
}

// Tests that a window-background fill resolves to the light and the dark palette.
TEST(Rendering, SemanticColourFollowsAppearance) {
    auto view = std::make_shared<SolidView>(Rect{0, 0, 20, 10}, Color::windowBackground());
    view->setAppearance(AppearanceName::aqua);
    auto light = render(*view);
    ASSERT_TRUE(light);
    EXPECT_EQ(light->pixelsWide(), 40) << "no window: scale 2";
    EXPECT_EQ(light->pixelsHigh(), 20);
    auto p = at(*light, 5, 5);
    EXPECT_EQ(p.r, 0xEC);
    EXPECT_EQ(p.a, 255);

    view->setAppearance(AppearanceName::darkAqua);
    auto dark = render(*view);
    p = at(*dark, 5, 5);
    EXPECT_EQ(p.r, 0x32);
    EXPECT_EQ(p.g, 0x32);

    auto blue = std::make_shared<SolidView>(Rect{0, 0, 4, 4}, Color::systemBlue());
    blue->setAppearance(AppearanceName::darkAqua);
    p = at(*render(*blue), 1, 1);
    EXPECT_EQ(p.r, 0x0A);
    EXPECT_EQ(p.g, 0x84);
    EXPECT_EQ(p.b, 0xFF);
}

// Tests that subviews sit at their frames with y upwards, inherit the
// appearance, are composited with their alpha and vanish when hidden.
TEST(Rendering, SubviewsPlacedWithAlphaAndHiding) {
    auto root = std::make_shared<SolidView>(Rect{0, 0, 40, 20}, Color::white());
    root->setAppearance(AppearanceName::darkAqua);
    auto low = std::make_shared<SolidView>(Rect{0, 0, 10, 10}, Color::label());  // bottom-left square
    auto faded = std::make_shared<SolidView>(Rect{20, 0, 10, 10}, Color::black());
    faded->setAlpha(0.5);
    auto hidden = std::make_shared<SolidView>(Rect{30, 10, 10, 10}, Color::black());
    hidden->setHidden(true);
    root->addSubview(low);
    root->addSubview(faded);
    root->addSubview(hidden);

    auto bitmap = render(*root);
    // The label colour of the dark appearance (white at 0.85) over white stays white.
    auto bottomLeft = at(*bitmap, 5, 5);
    EXPECT_EQ(bottomLeft.r, 255);
    auto topLeft = at(*bitmap, 5, 15);
    EXPECT_EQ(topLeft.r, 255);
    auto half = at(*bitmap, 25, 5);
    EXPECT_NEAR(half.r, 128, 2) << "black at alpha 0.5 over white";
    auto hiddenArea = at(*bitmap, 35, 15);
    EXPECT_EQ(hiddenArea.r, 255) << "a hidden subview draws nothing";

    root->setAppearance(AppearanceName::aqua);
    bitmap = render(*root);
    EXPECT_NEAR(at(*bitmap, 5, 5).r, 38, 2) << "black at 0.85 over white in the light appearance";
    EXPECT_EQ(at(*bitmap, 5, 15).r, 255) << "the square is at the bottom, not the top";
}

// Tests that a subview is clipped to its own bounds.
TEST(Rendering, SubviewClippedToBounds) {
    class Overdraw : public View {
    public:
        using View::View;
        void draw(Canvas& canvas) override { canvas.fillRect({-50, -50, 200, 200}, Color::black()); }
    };
    auto root = std::make_shared<View>(Rect{0, 0, 30, 30});
    root->addSubview(std::make_shared<Overdraw>(Rect{10, 10, 10, 10}));
    auto bitmap = render(*root);
    EXPECT_EQ(at(*bitmap, 15, 15).a, 255);
    EXPECT_EQ(at(*bitmap, 5, 5).a, 0);
    EXPECT_EQ(at(*bitmap, 25, 25).a, 0);
}

// Tests that Chinese and Latin text puts ink inside the label and nowhere else.
TEST(Rendering, TextDrawsInk) {
    auto label = std::make_shared<Label>(Rect{0, 0, 120, 24}, "岚舟 Velisk");
    label->setAppearance(AppearanceName::aqua);
    label->setFont(Font::system(13));
    auto bitmap = render(*label);
    EXPECT_GT(inkedPixels(*bitmap), 100);

    auto empty = std::make_shared<Label>(Rect{0, 0, 120, 24}, "");
    EXPECT_EQ(inkedPixels(*render(*empty)), 0);

    auto broken = std::make_shared<Label>(Rect{0, 0, 120, 24}, std::string("\xff\xfe bad", 6));
    EXPECT_NO_FATAL_FAILURE(render(*broken));
}

// Tests that PNG bytes decode back to the same pixels.
TEST(Rendering, PngRoundTrip) {
    auto view = std::make_shared<SolidView>(Rect{0, 0, 7, 3}, Color::rgba(1, 0, 0, 1));
    auto bitmap = render(*view);
    std::string png = bitmap->pngData();
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png.substr(1, 3), "PNG");

    struct Reader { const std::string* bytes; std::size_t at = 0; } reader{&png};
    auto read = [](void* closure, unsigned char* data, unsigned int length) {
        auto* r = static_cast<Reader*>(closure);
        if (r->at + length > r->bytes->size()) return CAIRO_STATUS_READ_ERROR;
        std::memcpy(data, r->bytes->data() + r->at, length);
        r->at += length;
        return CAIRO_STATUS_SUCCESS;
    };
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(read, &reader);
    ASSERT_EQ(cairo_surface_status(surface), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(surface), 14);
    EXPECT_EQ(cairo_image_surface_get_height(surface), 6);
    auto* row = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface));
    EXPECT_EQ(row[0], 0xFFFF0000u);
    cairo_surface_destroy(surface);

    EXPECT_TRUE(Bitmap(0, 0, {}).pngData().empty());
}

// Tests that cropping takes a pixel rectangle counted from the bottom and
// refuses rectangles outside the bitmap.
TEST(Rendering, Cropped) {
    auto root = std::make_shared<SolidView>(Rect{0, 0, 20, 10}, Color::white());
    root->addSubview(std::make_shared<SolidView>(Rect{10, 0, 10, 5}, Color::black()));  // bottom-right quarter
    auto bitmap = render(*root);

    auto quarter = bitmap->cropped({20, 0, 20, 10});
    ASSERT_TRUE(quarter);
    EXPECT_EQ(quarter->pixelsWide(), 20);
    EXPECT_EQ(quarter->pixelsHigh(), 10);
    EXPECT_EQ(quarter->size(), (Size{10, 5}));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(quarter->pixel(x, y).r, 0) << x << "," << y;

    auto top = bitmap->cropped({0, 10, 40, 10});
    ASSERT_TRUE(top);
    EXPECT_EQ(top->pixel(39, 9).r, 255);

    auto clipped = bitmap->cropped({30, 0, 100, 100});
    ASSERT_TRUE(clipped);
    EXPECT_EQ(clipped->pixelsWide(), 10);
    EXPECT_EQ(clipped->pixelsHigh(), 20);

    EXPECT_FALSE(bitmap->cropped({40, 0, 10, 10}));
    EXPECT_FALSE(bitmap->cropped({-20, -20, 10, 10}));
    EXPECT_FALSE(bitmap->cropped({0, 0, 0, 10}));
    EXPECT_FALSE(bitmap->cropped({0, 0, std::nan(""), 10}));
}

// Tests that degenerate rectangles give no bitmap instead of failing.
TEST(Rendering, NoBitmapForEmptyOrHugeRects) {
    View view(Rect{0, 0, 10, 10});
    EXPECT_FALSE(view.bitmapForCachingDisplay({0, 0, 0, 10}));
    EXPECT_FALSE(view.bitmapForCachingDisplay({0, 0, 1e9, 10}));
    EXPECT_FALSE(view.bitmapForCachingDisplay({0, 0, std::nan(""), 10}));
}

// Tests that a picture drawn at a tenth of its size lands exactly in its
// rectangle, upright, and averaged: a one-pixel checkerboard turns grey
// rather than black or white, and a red band at its top left stays there.
TEST(Rendering, LargePictureDrawnSmallIsAveragedAndInPlace) {
    constexpr int wide = 1000, high = 600, band = 300;
    auto picture = std::make_shared<Bitmap>(wide, high, Size{wide / 2.0, high / 2.0});
    for (int y = 0; y < high; ++y)
        for (int x = 0; x < wide; ++x)
            picture->pixels()[static_cast<std::size_t>(y) * wide + x] =
                x < band && y < band ? 0xFFFF0000u : ((x + y) % 2 ? 0xFFFFFFFFu : 0xFF000000u);
    class PictureView : public View {
    public:
        PictureView(Rect frame, std::shared_ptr<Image> image) : View(frame), image_(std::move(image)) {}
        void draw(Canvas& canvas) override { canvas.drawImage(*image_, {10, 10, 50, 30}, 1); }

    private:
        std::shared_ptr<Image> image_;
    };
    PictureView view(Rect{0, 0, 70, 50}, Image::withBitmap(picture, {wide / 2.0, high / 2.0}));
    auto bitmap = render(view);
    ASSERT_TRUE(bitmap);

    auto red = at(*bitmap, 12, 38);
    EXPECT_GT(red.r, 240);
    EXPECT_LT(red.g, 15);
    for (auto [x, y] : {std::pair{40.0, 20.0}, {55.0, 12.0}, {30.0, 12.0}, {55.0, 38.0}}) {
        auto grey = at(*bitmap, x, y);
        EXPECT_EQ(grey.a, 255) << x << "," << y;
        EXPECT_NEAR(grey.r, 128, 24) << x << "," << y;
        EXPECT_EQ(grey.r, grey.g) << x << "," << y;
    }
    // Exactly the rectangle, in pixels at scale 2 (columns 20 to 119, rows
    // from the top 20 to 79): the pixels just inside are drawn, those just outside are not.
    EXPECT_EQ(bitmap->pixel(20, 20).a, 255);
    EXPECT_EQ(bitmap->pixel(119, 79).a, 255);
    EXPECT_EQ(bitmap->pixel(19, 50).a, 0);
    EXPECT_EQ(bitmap->pixel(120, 50).a, 0);
    EXPECT_EQ(bitmap->pixel(70, 19).a, 0);
    EXPECT_EQ(bitmap->pixel(70, 80).a, 0);
}

}  // namespace
