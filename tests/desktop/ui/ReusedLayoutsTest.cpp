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

    // A page whose list of rows, named "rows" so that it can be replaced
    // alone, tells each row's key before building it; `built` counts the
    // rows built. A row's key names its name, which is all it shows and does.
    d::Node keyedPage(std::vector<std::string> names) {
        auto count = names.size();
        auto list = d::lazyList(count,
                                [this, names](std::size_t i) {
                                    ++built;
                                    const std::string& name = names[i];
                                    return d::hstack(d::nodes(d::text(name).lines(1), d::spacer(),
                                                              d::button("Open " + name, [this, name] { opened.push_back(name); })
                                                                  .disabledIf(name.back() == '!')))
                                        .reusable("row:" + name);
                                })
                        .keyedRows([names](std::size_t i) { return "row:" + names[i]; })
                        .identified("rows");
        return d::vstack(d::nodes(d::text("Apps"), std::move(list)), 0);
    }

    // Replaces the list alone with one of these rows, as a search does.
    void replaceRows(const std::vector<std::string>& names) {
        d::Node page = keyedPage(names);
        ASSERT_TRUE(host_->replace("rows", std::move(page.children[1]))) << "the list takes the room it had";
        host_->layoutIfNeeded();
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
    int built = 0;
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

// Tests that a list that tells its rows' keys shows the rows laid out
// before for those keys instead of building them, that they act for the rows
// they show wherever they appear, that a row with a new key is built, and
// that a new tree builds every row again.
TEST_F(ReusedLayoutsTest, RowsNamedByKeyAreTakenNotBuilt) {
    show(keyedPage({"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(built, 3);
    EXPECT_EQ(host_->listRowsBuilt(), 3u);

    built = 0;
    replaceRows({"Gamma", "Alpha", "Delta", "Beta"});
    EXPECT_EQ(built, 1) << "only Delta is new";
    EXPECT_EQ(host_->listRowsBuilt(), 1u);
    EXPECT_EQ(host_->listRowsLaidOut(), 4u);
    click("Open Alpha");
    click("Open Delta");
    click("Open Gamma");
    EXPECT_EQ(opened, (std::vector<std::string>{"Alpha", "Delta", "Gamma"})) << "each row acts for the app it shows";
    expectSameAsLaidOutAnew("rows taken in another order");

    // The list changes under the taken rows: each button still opens its own row.
    built = 0;
    opened.clear();
    replaceRows({"Delta", "Gamma"});
    replaceRows({"Beta!", "Delta", "Epsilon", "Alpha"});
    EXPECT_EQ(built, 2) << "Beta! and Epsilon carry keys not seen before";
    click("Open Beta!");
    click("Open Alpha");
    click("Open Delta");
    EXPECT_EQ(opened, (std::vector<std::string>{"Alpha", "Delta"})) << "the changed row is disabled as its new content says";
    expectSameAsLaidOutAnew("a list changed twice");

    // The same names in a tree set anew are built: its rows may act otherwise.
    built = 0;
    host_->setRoot(keyedPage({"Alpha", "Delta"}));
    host_->layoutIfNeeded();
    EXPECT_EQ(built, 2);
    EXPECT_EQ(host_->subtreesReused(), 2u) << "the rows' layouts stay";
    built = 0;
    replaceRows({"Delta", "Alpha"});
    EXPECT_EQ(built, 0) << "rows of the tree now shown are taken again";

    window_->setAppearance(AppearanceName::darkAqua);
    built = 0;
    host_->layoutIfNeeded();
    EXPECT_EQ(built, 2) << "rows laid out for the light appearance are built again for the dark one";
    built = 0;
    replaceRows({"Alpha", "Delta"});
    EXPECT_EQ(built, 0);
    expectSameAsLaidOutAnew("dark");
}

}  // namespace
