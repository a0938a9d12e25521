// Tests of the simulated Mac's PNG writer: every premultiplied word comes out
// as Cairo's writer wrote it, opaque pictures lose their alpha channel, rows
// are read at their stride, and sizes it cannot encode give nothing.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "desktop/ui/PngWriter.h"
#include "platform/ui/Bitmap.h"
#include "tests/support/StraightPixels.h"

namespace {

using orvane::test::cairoPng;
using orvane::test::decodeStraight;
using platform::ui::Bitmap;

// Byte 25 of a PNG is the colour type of its header chunk.
constexpr std::size_t colourTypeOffset = 25;
constexpr char rgbType = 2, rgbaType = 6;

// Tests that every alpha with every component value, premultiplied or not,
// decodes to the bytes Cairo's writer gives: one row per alpha, one column
// per component value, the three components running different ways.
TEST(PngWriter, EveryWordDecodesAsCairoWroteIt) {
    Bitmap bitmap(256, 256, {256, 256});
    for (std::uint32_t a = 0; a < 256; ++a)
        for (std::uint32_t c = 0; c < 256; ++c)
            bitmap.pixels()[a * 256 + c] = a << 24 | c << 16 | ((c * 7) & 0xFF) << 8 | (255 - c);
    const std::string png = bitmap.pngData();
    ASSERT_GT(png.size(), colourTypeOffset);
    EXPECT_EQ(png[colourTypeOffset], rgbaType);
    const auto ours = decodeStraight(png);
    ASSERT_EQ(ours.width, 256);
    EXPECT_TRUE(ours == decodeStraight(cairoPng(bitmap)));
    // Spot checks against the rounding itself: 0x80 under alpha 0x80 is full, 1 under 3 is 85.
    const auto at = [&](int x, int y) { return &ours.rgba[(static_cast<std::size_t>(y) * 256 + x) * 4]; };
    EXPECT_EQ(at(0x80, 0x80)[0], 255);
    EXPECT_EQ(at(1, 3)[0], 85);
    EXPECT_EQ(at(200, 0)[0], 0) << "a clear pixel is all zero";
    EXPECT_EQ(at(200, 0)[3], 0);
}

// Tests that a picture covering every pixel is written as RGB with the same
// colours, and one translucent pixel brings the alpha channel back.
TEST(PngWriter, OpaquePicturesAreWrittenWithoutAlpha) {
    Bitmap bitmap(40, 30, {20, 15});
    for (std::size_t i = 0; i < bitmap.pixels().size(); ++i)
        bitmap.pixels()[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8);
    std::string png = bitmap.pngData();
    ASSERT_GT(png.size(), colourTypeOffset);
    EXPECT_EQ(png[colourTypeOffset], rgbType);
    EXPECT_TRUE(decodeStraight(png) == decodeStraight(cairoPng(bitmap)));

    bitmap.pixels()[599] = 0x7F102030u;
    png = bitmap.pngData();
    ASSERT_GT(png.size(), colourTypeOffset);
    EXPECT_EQ(png[colourTypeOffset], rgbaType);
    EXPECT_TRUE(decodeStraight(png) == decodeStraight(cairoPng(bitmap)));
}

// Tests that rows further apart than the width are read from their start,
// as a Cairo surface with a padded stride is written.
TEST(PngWriter, RowsAreReadAtTheirStride) {
    constexpr int width = 5, height = 4, rowWords = 8;
    std::vector<std::uint32_t> padded(rowWords * height, 0xFFFF00FFu);
    Bitmap compact(width, height, {width, height});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            padded[y * rowWords + x] = compact.pixels()[y * width + x] = 0xFF000000u | static_cast<std::uint32_t>(y * 40 + x);
    const auto fromPadded = decodeStraight(desktop::ui::encodePng(padded.data(), width, height, rowWords));
    ASSERT_EQ(fromPadded.width, width);
    EXPECT_TRUE(fromPadded == decodeStraight(compact.pngData()));
}

// Tests that nothing is written for an empty size, missing pixels or rows
// that would overlap.
TEST(PngWriter, SizesThatCannotBeEncodedGiveNothing) {
    const std::uint32_t word = 0xFFFFFFFFu;
    EXPECT_TRUE(Bitmap(0, 0, {}).pngData().empty());
    EXPECT_TRUE(Bitmap(0, 5, {0, 5}).pngData().empty());
    EXPECT_TRUE(desktop::ui::encodePng(nullptr, 1, 1, 1).empty());
    EXPECT_TRUE(desktop::ui::encodePng(&word, -1, 1, 1).empty());
    EXPECT_TRUE(desktop::ui::encodePng(&word, 2, 1, 1).empty());
    EXPECT_FALSE(desktop::ui::encodePng(&word, 1, 1, 1).empty());
}

}  // namespace
