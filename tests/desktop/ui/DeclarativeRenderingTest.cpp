// Tests that the declarative toolkit draws what a page describes: every node
// kind renders in a settings-like window in both appearances with its text
// inside the window, only the list rows in view are drawn, and the window's
// title-bar buttons appear over full-size content. With ORVANE_PICTURES set
// to a folder, the pages are also written there as PNG files to look at.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <string>

#include "desktop/Desktop.h"
#include "desktop/ui/BitmapContext.h"
#include "desktop/ui/CairoCanvas.h"
#include "desktop/ui/SystemSymbols.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Declarative.h"
#include "platform/ui/Image.h"
#include "platform/ui/Window.h"
#include "tests/desktop/ScratchDisk.h"
#include "tests/desktop/ui/DeclarativeGallery.h"

namespace {

using namespace platform;
using namespace platform::ui;
namespace d = platform::ui::declarative;
using orvane::test::CatalogueState;
using orvane::test::GalleryLog;

// Records the texts drawn and where, drawing nothing.
class TextRecorder : public Canvas {
public:
    struct Drawn {
        std::string text;
        Rect rect;
    };
    std::vector<Drawn> texts;
    AppearanceName appearance() const override { return AppearanceName::aqua; }
    double scale() const override { return 2; }
    void fillRect(Rect, Color) override {}
    void fillRoundedRect(Rect, double, double, Color) override {}
    void strokeRoundedRect(Rect, double, double, Color) override {}
    void fillOval(Rect, Color) override {}
    void strokePolyline(const std::vector<Point>&, double, LineCap, Color) override {}
    void drawImage(const Image&, Rect, double) override {}
    void drawText(const std::string& text, Rect rect, Font, Color) override { texts.push_back({text, rect}); }
    void drawWrappedText(const std::string& text, Rect rect, Font, Color, int, bool) override { texts.push_back({text, rect}); }
    Size measureText(const std::string&, Font) override { return {10, 10}; }
    void save() override {}
    void restore() override {}
    void translate(double, double) override {}
    void clip(Rect) override {}
    void setAlpha(double) override {}
};

std::shared_ptr<Bitmap> render(View& view) {
    auto bitmap = view.bitmapForCachingDisplay(view.bounds());
    if (bitmap) view.cacheDisplay(view.bounds(), *bitmap);
    return bitmap;
}

void keepPicture(const Bitmap& bitmap, const std::string& name) {
    const char* folder = std::getenv("ORVANE_PICTURES");
    if (!folder || !*folder) return;
    std::ofstream out(std::string(folder) + "/" + name + ".png", std::ios::binary);
    out << bitmap.pngData();
}

Bitmap::Pixel at(const Bitmap& bitmap, double x, double y) {
    double s = bitmap.scale();
    return bitmap.pixel(static_cast<int>(x * s), static_cast<int>((bitmap.size().height - y) * s) - 1);
}

class DeclarativeRenderingTest : public ::testing::Test {
protected:
    void SetUp() override { desktop::reset(orvane::test::onScratchDisk(nlohmann::json::object()), desktop::Clock::manual); }

    // A settings-like window: titled, closable, resizable, full-size content, unified toolbar.
    std::shared_ptr<Window> window(const std::shared_ptr<HostingView>& host) {
        auto w = Window::create({100, 100, 980, 720}, 32783);
        w->setTitlebarAppearsTransparent(true);
        w->setToolbarStyle(toolbarStyle::unified);
        w->setContentView(host);
        w->makeKeyAndOrderFront();
        return w;
    }
};

// Tests that every page of the gallery renders in both appearances with all
// of its texts inside the window, the sidebar and detail in their colours,
// and the close button drawn where the window server takes its clicks.
TEST_F(DeclarativeRenderingTest, GalleryPagesRenderInBothAppearances) {
    GalleryLog log;
    struct Page {
        const char* name;
        d::Node root;
    };
    std::vector<Page> pages;
    pages.push_back({"apps", orvane::test::galleryAppsPage(log, 6)});
    pages.push_back({"apps-empty", orvane::test::galleryAppsPage(log, 0)});
    pages.push_back({"settings", orvane::test::galleryFormPage(log)});
    pages.push_back({"add", orvane::test::galleryCataloguePage(log, 40, CatalogueState::rows, "")});
    pages.push_back({"add-empty", orvane::test::galleryCataloguePage(log, 0, CatalogueState::empty, "不存在的应用 🙂")});
    pages.push_back({"add-loading", orvane::test::galleryCataloguePage(log, 0, CatalogueState::loading, "")});
    for (auto& page : pages) {
        auto host = HostingView::create();
        host->setRoot(page.root);
        auto w = window(host);
        ASSERT_TRUE(w->hasToolbar()) << "a split view gives its window a toolbar";
        EXPECT_EQ(w->titlebarHeight(), 52);
        // Every page light; the dark palette on the pages that use all of it.
        std::vector<AppearanceName> appearances{AppearanceName::aqua};
        if (std::getenv("ORVANE_PICTURES") || std::string(page.name) == "apps" || std::string(page.name) == "settings")
            appearances.push_back(AppearanceName::darkAqua);
        for (AppearanceName appearance : appearances) {
            w->setAppearance(appearance);
            auto bitmap = render(*host);
            ASSERT_TRUE(bitmap);
            keepPicture(*bitmap, std::string("toolkit-") + page.name + (appearance == AppearanceName::aqua ? "-light" : "-dark"));
            auto sidebar = at(*bitmap, 60, 300);
            auto detail = at(*bitmap, 600, 712);
            if (appearance == AppearanceName::aqua) {
                EXPECT_GT(sidebar.r, 200) << page.name;
                EXPECT_GT(detail.r, 200) << page.name;
            } else {
                EXPECT_LT(sidebar.r, 80) << page.name;
                EXPECT_LT(detail.r, 80) << page.name;
            }
            auto close = w->standardButtonFrame(WindowButton::close);
            ASSERT_TRUE(close);
            auto red = at(*bitmap, close->midX(), close->midY());
            EXPECT_GT(red.r, 200) << "the key window's close button is red";
            EXPECT_LT(red.g, 120);
        }
        TextRecorder recorder;
        host->draw(recorder);
        EXPECT_FALSE(recorder.texts.empty());
        for (const auto& drawn : recorder.texts) {
            EXPECT_GE(drawn.rect.minX(), 0) << page.name << ": " << drawn.text;
            EXPECT_LE(drawn.rect.maxX(), 980.5) << page.name << ": " << drawn.text;
        }
        w->orderOut();
    }
}

// Tests that a list of thousands of rows builds, lays out and draws only the
// rows in view, at the top and after scrolling to the end.
TEST_F(DeclarativeRenderingTest, ListBuildsAndDrawsOnlyRowsInView) {
    int built = 0;
    auto host = HostingView::create({0, 0, 400, 300});
    host->setRoot(d::lazyList(5000, [&built](std::size_t i) {
        ++built;
        return d::text("Row " + std::to_string(i)).framed(std::nullopt, 28);
    }));
    TextRecorder recorder;
    host->draw(recorder);
    // Rows are 28 + 12 points high in a 300-point list inset by 6 at the top.
    const std::size_t visible = 8;
    EXPECT_EQ(host->listRowsDrawn(), visible);
    EXPECT_EQ(host->listRowsLaidOut(), visible);
    EXPECT_LE(built, 9) << "the first row is measured, then only rows in view are built";
    std::set<std::string> drawn;
    for (const auto& t : recorder.texts) drawn.insert(t.text);
    EXPECT_EQ(drawn.size(), visible);
    EXPECT_TRUE(drawn.count("Row 0") && drawn.count("Row 7") && !drawn.count("Row 8"));

    // Scrolling far down shows the last rows, again only those.
    Event wheel;
    wheel.type = Event::Type::scrollWheel;
    wheel.locationInWindow = {200, 150};
    wheel.scrollingDeltaY = -1e7;
    wheel.hasPreciseScrollingDeltas = true;
    built = 0;
    host->scrollWheel(wheel);
    recorder.texts.clear();
    host->draw(recorder);
    drawn.clear();
    for (const auto& t : recorder.texts) drawn.insert(t.text);
    EXPECT_TRUE(drawn.count("Row 4999"));
    EXPECT_FALSE(drawn.count("Row 4990"));
    EXPECT_LE(host->listRowsDrawn(), visible + 1);
    EXPECT_LE(built, 10);
}

// Tests that the named symbols exist and differ, and that an unknown name
// still draws a neutral glyph instead of nothing.
TEST_F(DeclarativeRenderingTest, SystemSymbolsDrawDistinctGlyphs) {
    const char* names[] = {"menubar.rectangle", "plus.app", "slider.horizontal.3", "keyboard", "square.and.arrow.down", "plus",
                           "rectangle.compress.vertical", "exclamationmark.triangle.fill", "checkmark.circle.fill", "xmark",
                           "pin", "arrow.right.to.line", "menubar.dock.rectangle", "chevron.up", "chevron.down",
                           "minus.circle", "magnifyingglass", "xmark.circle.fill", "macwindow", "circle", "dock.rectangle",
                           "power", "chevron.left", "chevron.right"};
    std::set<std::vector<std::uint32_t>> seen;
    auto pixelsOf = [](const std::string& name) {
        auto image = Image::hasSystemSymbol(name) ? Image::systemSymbol(name, name) : desktop::ui::neutralSymbol();
        EXPECT_TRUE(image && image->isTemplate()) << name;
        if (!image) return std::vector<std::uint32_t>();
        Bitmap bitmap(32, 32, {16, 16});
        desktop::ui::BitmapContext context(bitmap);
        desktop::ui::CairoCanvas canvas(context.get(), AppearanceName::aqua);
        canvas.drawTintedImage(*image, {0, 0, 16, 16}, Color::black(), 1);
        return std::vector<std::uint32_t>(bitmap.pixels().begin(), bitmap.pixels().end());
    };
    for (const char* name : names) {
        EXPECT_TRUE(Image::hasSystemSymbol(name)) << name;
        auto pixels = pixelsOf(name);
        int inked = 0;
        for (auto p : pixels) inked += (p >> 24) > 0;
        EXPECT_GT(inked, 20) << name;
        EXPECT_TRUE(seen.insert(pixels).second) << name << " looks like another symbol";
    }
    EXPECT_FALSE(Image::hasSystemSymbol("no.such.symbol"));
    EXPECT_EQ(Image::systemSymbol("no.such.symbol"), nullptr) << "the platform has no image for an unknown name";
    EXPECT_EQ(Image::systemSymbol("chevron.left", "上一个窗口")->accessibilityDescription(), "上一个窗口");
    auto fallback = pixelsOf("no.such.symbol");
    int inked = 0;
    for (auto p : fallback) inked += (p >> 24) > 0;
    EXPECT_GT(inked, 20) << "the toolkit's neutral glyph for an unknown name";
}

}  // namespace
