// Tests of laying out a node with a reuse key once per content: a list row
// seen before is placed from its earlier layout, moved, and draws, names and
// acts exactly as the same row laid out anew, with the actions of the tree
// being shown.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/Desktop.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Declarative.h"
#include "platform/ui/Window.h"
#include "tests/desktop/ScratchDisk.h"

namespace {

using namespace platform;
using namespace platform::ui;
namespace d = platform::ui::declarative;
using nlohmann::json;

class ReusedLayoutsTest : public ::testing::Test {
protected:
    void SetUp() override { desktop::reset(orvane::test::onScratchDisk(json::object()), desktop::Clock::manual); }

    // A list of rows, each a name and its button; the key names what a row shows.
    d::Node rows(std::vector<std::string> names, const std::string& tree) {
        auto count = names.size();
        return d::lazyList(count, [this, names, tree](std::size_t i) {
            const std::string& name = names[i];
            return d::hstack(d::nodes(d::text(name).lines(1), d::spacer(),
                                      d::button("Open " + name, [this, name, tree] { opened.push_back(tree + ":" + name); })
                                          .disabledIf(name.back() == '!')))
                .reusable("row:" + name);
        });
    }

    void show(d::Node root) {
        host_ = HostingView::create();
        host_->setRoot(std::move(root));
        window_ = Window::create({100, 100, 400, 300}, styleMask::titled | styleMask::closable);
        window_->setContentView(host_);
        window_->makeKeyAndOrderFront();
        host_->layoutIfNeeded();
    }

    std::vector<std::uint32_t> pixels() {
        auto bitmap = host_->bitmapForCachingDisplay(host_->bounds());
        if (!bitmap) return {};
        host_->cacheDisplay(host_->bounds(), *bitmap);
        return {bitmap->pixels().begin(), bitmap->pixels().end()};
    }

    std::vector<std::string> controlLines() {
        std::vector<std::string> lines;
        for (const auto& c : host_->controls())
            lines.push_back(c.accessibilityLabel + "|" + c.text + "|" + std::to_string(c.frame.minX()) + "," +
                            std::to_string(c.frame.minY()) + "," + std::to_string(c.frame.width()) + "," +
                            std::to_string(c.frame.height()) + "|" + (c.enabled ? "on" : "off"));
        return lines;
    }

    // What the view shows now is what it shows with every row laid out anew.
    void expectSameAsLaidOutAnew(const std::string& when) {
        const auto drawn = pixels();
        const auto controls = controlLines();
        host_->discardReusedLayouts();
        host_->setRoot(d::Node(host_->root()));
        host_->layoutIfNeeded();
        EXPECT_EQ(host_->subtreesReused(), 0u) << when;
        EXPECT_EQ(controlLines(), controls) << when;
        EXPECT_TRUE(pixels() == drawn) << when << ": the reused rows draw otherwise than rows laid out anew";
    }

    void click(const std::string& name) {
        std::optional<d::Control> target;
        for (const auto& c : host_->controls())
            if (c.text == name) target = c;
        ASSERT_TRUE(target) << name;
        desktop::verb("click " + std::to_string(100 + target->frame.midX()) + " " + std::to_string(100 + target->frame.midY()));
    }

    std::vector<std::string> opened;
    std::shared_ptr<HostingView> host_;
    std::shared_ptr<Window> window_;
};

// Tests that rows seen before are reused at other positions and act with
// the new tree's actions, that a row whose key changed is laid out anew, and
// that an appearance switch lays every row out again.
TEST_F(ReusedLayoutsTest, RowsSeenBeforeAreMovedNotLaidOutAgain) {
    show(rows({"Alpha", "Beta", "Gamma", "Delta", "Epsilon"}, "first"));
    EXPECT_EQ(host_->subtreesReused(), 0u) << "nothing was laid out before";
    EXPECT_EQ(host_->listRowsLaidOut(), 5u);

    host_->setRoot(rows({"Epsilon", "Delta", "Gamma", "Beta", "Alpha"}, "second"));
    host_->layoutIfNeeded();
    EXPECT_EQ(host_->subtreesReused(), 5u) << "the same five rows in another order";
    click("Open Delta");
    EXPECT_EQ(opened, std::vector<std::string>{"second:Delta"}) << "a reused row acts with the tree shown";
    expectSameAsLaidOutAnew("reordered");

    // Beta now reads otherwise and is disabled: a new key, laid out anew.
    host_->setRoot(rows({"Gamma", "Beta!", "Alpha", "Zeta"}, "third"));
    host_->layoutIfNeeded();
    EXPECT_EQ(host_->subtreesReused(), 2u) << "Gamma and Alpha were seen before";
    opened.clear();
    click("Open Beta!");
    EXPECT_TRUE(opened.empty()) << "the changed row is disabled as its new content says";
    expectSameAsLaidOutAnew("a changed row");

    window_->setAppearance(AppearanceName::darkAqua);
    host_->layoutIfNeeded();
    EXPECT_EQ(host_->subtreesReused(), 0u) << "rows laid out for the light appearance are not drawn in the dark one";
    host_->setRoot(rows({"Alpha", "Gamma"}, "fourth"));
    host_->layoutIfNeeded();
    EXPECT_EQ(host_->subtreesReused(), 2u);
    expectSameAsLaidOutAnew("dark");
}

}  // namespace
