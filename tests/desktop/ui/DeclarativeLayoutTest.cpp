// Tests of where the settings toolkit puts things, read from the paints a
// layout produces: a label's symbol beside its text, and the scroller of a
// page taller than its window.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "desktop/ui/DeclarativeLayout.h"
#include "desktop/ui/DeclarativeStyle.h"
#include "desktop/ui/TextMeasurer.h"
#include "platform/ui/Declarative.h"
#include "platform/ui/Image.h"

namespace {

namespace d = platform::ui::declarative;
using desktop::ui::DeclarativeLayout;
using desktop::ui::LayoutResult;
using desktop::ui::Paint;
using platform::Size;

class DeclarativeLayoutTest : public ::testing::Test {
protected:
    LayoutResult lay(d::Node& root, Size bounds) {
        DeclarativeLayout layout(desktop::ui::TextMeasurer::shared(), platform::ui::AppearanceName::aqua, offsets_, "", icons_);
        return layout.run(root, bounds);
    }
    static std::vector<Paint> paintsOf(const LayoutResult& result, Paint::Op op) {
        std::vector<Paint> found;
        for (const auto& p : result.paints)
            if (p.op == op) found.push_back(p);
        return found;
    }
    // The overlay scroller's knob: the one fill of its width and roundness.
    static std::vector<Paint> knobsOf(const LayoutResult& result) {
        std::vector<Paint> knobs;
        for (const auto& p : paintsOf(result, Paint::Op::fill))
            if (p.rect.width() == desktop::ui::style::scrollerWidth && p.radius == desktop::ui::style::scrollerWidth / 2)
                knobs.push_back(p);
        return knobs;
    }

    std::map<std::string, double> offsets_;
    std::unordered_map<std::string, std::shared_ptr<platform::ui::Image>> icons_;
};

// Tests that the symbols of sidebar rows sit on their labels' centre line,
// not at the top of the row.
TEST_F(DeclarativeLayoutTest, SidebarSymbolsSitOnTheirLabelsCentres) {
    d::Node sidebar = d::sidebarList({d::label("应用栏", "menubar.rectangle").tagged("apps"),
                                      d::label("添加应用", "plus.square").tagged("add"),
                                      d::label("偏好设置", "slider.horizontal.3").tagged("settings")},
                                     "apps", [](const std::string&) {});
    auto result = lay(sidebar, {220, 400});
    auto symbols = paintsOf(result, Paint::Op::symbol), texts = paintsOf(result, Paint::Op::text);
    ASSERT_EQ(symbols.size(), 3u);
    ASSERT_EQ(texts.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(symbols[i].rect.midY(), texts[i].rect.midY(), 1.0) << texts[i].text;
        EXPECT_LT(symbols[i].rect.maxX(), texts[i].rect.minX()) << "the symbol leads its text";
    }
}

// Tests that a form taller than its window shows the scroller's knob at the
// right edge, sized by the share in view and moving with the offset, and that
// one that fits shows none.
TEST_F(DeclarativeLayoutTest, TallFormShowsItsScroller) {
    std::vector<d::Node> rows;
    for (int i = 0; i < 30; ++i) rows.push_back(d::toggle("开关 " + std::to_string(i), i % 2 == 0, [](bool) {}));
    d::Node tall = d::form({d::section(d::text("很多行"), rows)});
    auto result = lay(tall, {600, 400});
    ASSERT_EQ(result.scrollAreas.size(), 1u);
    const auto area = result.scrollAreas.front();
    ASSERT_GT(area.contentHeight, 400);
    auto knobs = knobsOf(result);
    ASSERT_EQ(knobs.size(), 1u);
    EXPECT_DOUBLE_EQ(knobs[0].rect.maxX(), 600 - desktop::ui::style::scrollerInset);
    EXPECT_NEAR(knobs[0].rect.height(), (400 - 4) * 400 / area.contentHeight, 0.01);
    EXPECT_DOUBLE_EQ(knobs[0].rect.minY(), desktop::ui::style::scrollerInset) << "at the top before scrolling";

    offsets_[area.path] = area.contentHeight;  // clamped to the end
    auto scrolled = knobsOf(lay(tall, {600, 400}));
    ASSERT_EQ(scrolled.size(), 1u);
    EXPECT_NEAR(scrolled[0].rect.maxY(), 400 - desktop::ui::style::scrollerInset, 0.01) << "at the bottom at the end";

    d::Node shortForm = d::form({d::section(d::text("一行"), {d::toggle("开关", true, [](bool) {})})});
    EXPECT_TRUE(knobsOf(lay(shortForm, {600, 400})).empty()) << "a page that fits shows no scroller";
}

}  // namespace
