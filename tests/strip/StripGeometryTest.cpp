// Tests of the strip's pure geometry: layout, centred placement, the product
// mark's shapes and the number format of the control signature.

#include <gtest/gtest.h>

#include <limits>

#include "platform/ui/Image.h"
#include "model/Brand.h"
#include "strip/ControlSignature.h"
#include "strip/StripLayout.h"
#include "strip/StripPlacement.h"
#include "tests/strip/RecordingCanvas.h"

namespace {

using orvane::Brand;
using orvane::StripLayout;
using platform::Rect;
using platform::ui::Color;
using Shape = orvane::testing::RecordingCanvas::Shape;

// Tests that an empty strip is only the manager control, 35 pt wide.
TEST(StripGeometry, EmptyStripIsOnlyTheManager) {
    for (std::int64_t maximum : {0, 5, 12}) {
        StripLayout layout(0, maximum, 24);
        EXPECT_EQ(layout.capacity(), 0);
        EXPECT_FALSE(layout.overflowing());
        EXPECT_EQ(layout.leading(), 3);
        EXPECT_EQ(layout.width(), 35);
        EXPECT_EQ(layout.manager(), Rect(6, 0, 29, 24));
    }
}

// Tests that a full strip without overflow has margins and no arrows.
TEST(StripGeometry, FullStripWithoutOverflow) {
    StripLayout layout(5, 5, 24);
    EXPECT_EQ(layout.slot(), 29);
    EXPECT_EQ(layout.capacity(), 5);
    EXPECT_FALSE(layout.overflowing());
    EXPECT_EQ(layout.leading(), 3);
    EXPECT_EQ(layout.width(), 180);
    EXPECT_EQ(layout.app(0), Rect(3, 0, 29, 24));
    EXPECT_EQ(layout.app(4), Rect(119, 0, 29, 24));
    EXPECT_EQ(layout.manager(), Rect(151, 0, 29, 24));
    EXPECT_EQ(StripLayout(3, 5, 22).width(), 35 + 87);
}

// Tests that one entry more than the slots brings the arrows and their room.
TEST(StripGeometry, OverflowAddsArrows) {
    StripLayout layout(6, 5, 24);
    EXPECT_TRUE(layout.overflowing());
    EXPECT_EQ(layout.capacity(), 5);
    EXPECT_EQ(layout.leading(), 16);
    EXPECT_EQ(layout.width(), 206);
    EXPECT_EQ(layout.previous(), Rect(0, 0, 16, 24));
    EXPECT_EQ(layout.next(), Rect(161, 0, 16, 24));
    EXPECT_EQ(layout.manager(), Rect(177, 0, 29, 24));
    EXPECT_EQ(layout.app(0), Rect(16, 0, 29, 24));
    EXPECT_EQ(layout.icon(0), Rect(22.5, 4, 16, 16));
    EXPECT_EQ(StripLayout(40, 12, 24).width(), 61 + 29 * 12);
}

// Tests that slot indices outside the window give rectangles outside the slot area.
TEST(StripGeometry, OutOfRangeSlotsLieOutside) {
    StripLayout layout(6, 5, 24);
    EXPECT_EQ(layout.app(-1), Rect(-13, 0, 29, 24));
    EXPECT_EQ(layout.app(5).minX(), layout.next().minX());
    Rect far = layout.app(std::numeric_limits<std::int64_t>::max());
    EXPECT_GT(far.minX(), layout.width());
}

// Tests the centred placement on a screen whose menu bar is taller than the strip.
TEST(StripGeometry, PlacementCentresOnTheMenuBarBand) {
    Rect screen(0, 0, 1512, 982);
    double menuBar = std::max(24.0, 982.0 - 945.0);
    EXPECT_EQ(orvane::StripPlacement::frame(screen, menuBar, 206, 24), Rect(653, 951.5, 206, 24));
    // A strip taller than the band takes its own height as the band.
    EXPECT_EQ(orvane::StripPlacement::frame(Rect(100, 0, 800, 600), 20, 100, 30), Rect(450, 570, 100, 30));
}

std::vector<Shape> markShapes(Rect rect, std::optional<Color> accent) {
    orvane::testing::RecordingCanvas canvas;
    Brand::drawMark(canvas, rect, Color::black(), accent);
    return canvas.shapes;
}

void expectRect(const Rect& actual, const Rect& expected) {
    EXPECT_NEAR(actual.minX(), expected.minX(), 1e-9);
    EXPECT_NEAR(actual.minY(), expected.minY(), 1e-9);
    EXPECT_NEAR(actual.width(), expected.width(), 1e-9);
    EXPECT_NEAR(actual.height(), expected.height(), 1e-9);
}

// Tests that a non-square rectangle draws the mark at its shorter side, centred.
TEST(StripGeometry, MarkFitsTheShorterSide) {
    auto shapes = markShapes({0, 0, 30, 18}, std::nullopt);
    ASSERT_EQ(shapes.size(), 4u);
    // u = 0.75, grid origin (6, 0).
    expectRect(shapes[0].rect, {8.25, 13.5, 13.5, 1.5});
    expectRect(shapes[1].rect, {8.25, 3, 3.6, 6});
    expectRect(shapes[2].rect, {13.2, 3, 3.6, 8.625});
    expectRect(shapes[3].rect, {18.15, 3, 3.6, 6});
    EXPECT_DOUBLE_EQ(shapes[0].radius, 0.75);
    EXPECT_DOUBLE_EQ(shapes[1].radius, 1.05);
    for (const auto& s : shapes) EXPECT_EQ(s.kind, Shape::Kind::roundedRect);
}

// Tests that the accent colours the rail and the middle bar only, and that
// without one every shape takes the ink.
TEST(StripGeometry, MarkAccentColoursRailAndMiddleBar) {
    auto blue = Color::rgba(0, 0, 1);
    auto accented = markShapes({0, 0, 24, 24}, blue);
    ASSERT_EQ(accented.size(), 4u);
    EXPECT_EQ(accented[0].color, blue.resolved(platform::ui::AppearanceName::aqua));
    EXPECT_EQ(accented[1].color, Color::black().resolved(platform::ui::AppearanceName::aqua));
    EXPECT_EQ(accented[2].color, blue.resolved(platform::ui::AppearanceName::aqua));
    EXPECT_EQ(accented[3].color, Color::black().resolved(platform::ui::AppearanceName::aqua));
    for (const auto& s : markShapes({0, 0, 24, 24}, std::nullopt))
        EXPECT_EQ(s.color, Color::black().resolved(platform::ui::AppearanceName::aqua));
    EXPECT_TRUE(markShapes({0, 0, 0, 18}, std::nullopt).empty()) << "an empty rectangle draws nothing";
}

// Tests the product's names and the menu-bar image: 18 pt, template, the mark in black.
TEST(StripGeometry, BrandNamesAndMenuImage) {
    EXPECT_STREQ(Brand::name, "岚舟");
    EXPECT_STREQ(Brand::englishName, "Velisk");
    EXPECT_STREQ(Brand::version, "0.2.2");
    auto image = Brand::menuImage();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), platform::Size(18, 18));
    EXPECT_TRUE(image->isTemplate());
    ASSERT_TRUE(image->drawing());
    orvane::testing::RecordingCanvas canvas;
    image->drawing()(canvas, {0, 0, 18, 18});
    ASSERT_EQ(canvas.shapes.size(), 4u);
    expectRect(canvas.shapes[0].rect, {2.25, 13.5, 13.5, 1.5});
    EXPECT_EQ(canvas.shapes[2].color, Color::black().resolved(platform::ui::AppearanceName::aqua));
}

// Tests the signature's number format: shortest round trip, never an
// exponent, always a fractional digit.
TEST(StripGeometry, SignatureNumbersKeepAFraction) {
    EXPECT_EQ(orvane::signatureNumber(24), "24.0");
    EXPECT_EQ(orvane::signatureNumber(206), "206.0");
    EXPECT_EQ(orvane::signatureNumber(100000), "100000.0");
    EXPECT_EQ(orvane::signatureNumber(1e21), "1000000000000000000000.0");
    EXPECT_EQ(orvane::signatureNumber(22.5), "22.5");
    EXPECT_EQ(orvane::signatureNumber(0.1), "0.1");
    EXPECT_EQ(orvane::signatureNumber(0.000001), "0.000001");
    EXPECT_EQ(orvane::signatureNumber(-3), "-3.0");
    EXPECT_EQ(orvane::signatureNumber(0), "0.0");
    EXPECT_EQ(orvane::signatureNumber(std::numeric_limits<double>::denorm_min()).substr(0, 4), "0.00");
    EXPECT_EQ(orvane::signatureNumber(std::numeric_limits<double>::quiet_NaN()), "nan");

    std::vector<orvane::AppEntry> entries;
    for (const char* id : {"a", "b", "c", "d", "e", "f"}) entries.push_back({id, id, std::string("/A/") + id, "auto"});
    EXPECT_EQ(orvane::controlSignature(0, StripLayout(6, 5, 24), entries), "0/5/206.0/24.0/a|b|c|d|e|f");
    EXPECT_EQ(orvane::controlSignature(0, StripLayout(0, 5, 24), {}), "0/0/35.0/24.0/");
}

}  // namespace
