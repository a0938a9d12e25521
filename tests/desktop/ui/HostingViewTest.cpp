// Tests of the declarative toolkit's hosting view: where stacks, padding,
// margins and frames put things, that a click reaches exactly the control
// under the pointer once (and a disabled one not at all), typing into a
// focused field, and driving pages like a person with the desktop's verbs.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "desktop/Desktop.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Declarative.h"
#include "platform/ui/Window.h"
#include "tests/desktop/ScratchDisk.h"
#include "tests/desktop/ui/DeclarativeGallery.h"

namespace {

using namespace platform;
using namespace platform::ui;
namespace d = platform::ui::declarative;
using nlohmann::json;

d::Node box(double w, double h) { return d::vstack({}).framed(w, h); }

std::optional<d::Control> controlNamed(HostingView& host, const std::string& name) {
    for (const auto& c : host.controls())
        if (c.accessibilityLabel == name || c.text == name) return c;
    return std::nullopt;
}

class HostingViewTest : public ::testing::Test {
protected:
    void SetUp() override { desktop::reset(orvane::test::onScratchDisk(json::object()), desktop::Clock::manual); }

    // Shows the tree in a plain titled window at (100, 100) whose content is the whole frame.
    std::shared_ptr<HostingView> show(d::Node root, Size size = {400, 300}) {
        if (window_) window_->orderOut();
        host_ = HostingView::create();
        host_->setRoot(std::move(root));
        window_ = Window::create({100, 100, size.width, size.height}, styleMask::titled | styleMask::closable);
        window_->setContentView(host_);
        window_->makeKeyAndOrderFront();
        return host_;
    }

    json clickOn(const std::string& name, double dy = 0) {
        auto c = controlNamed(*host_, name);
        EXPECT_TRUE(c) << name;
        if (!c) return json();
        double x = 100 + c->frame.midX(), y = 100 + c->frame.midY() + dy;
        return desktop::verb("click " + std::to_string(x) + " " + std::to_string(y));
    }

    std::map<std::string, int> fired;
    std::vector<std::string> values;
    std::shared_ptr<HostingView> host_;
    std::shared_ptr<Window> window_;
};

// Tests the positions a vstack with padding, an hstack with a spacer and a
// margin give fixed-size controls: padded content centred vertically,
// children stacked with their spacing, the spacer taking what is left.
TEST_F(HostingViewTest, StacksPaddingMarginsAndFramesPlaceExactly) {
    auto count = [this](std::string name) { return [this, name] { ++fired[name]; }; };
    auto host = HostingView::create({0, 0, 400, 300});
    host->setRoot(d::vstack({d::button({box(100, 30)}, count("a")).styled(d::ButtonStyle::plain).accessibility("a"),
                             d::hstack({d::button({box(40, 20)}, count("b")).styled(d::ButtonStyle::plain).accessibility("b"),
                                        d::spacer(),
                                        d::button({box(50, 20)}, count("c")).styled(d::ButtonStyle::plain).accessibility("c")},
                                       5),
                             d::button({box(60, 10)}, count("d")).styled(d::ButtonStyle::plain).accessibility("d").margined({0, 7, 0, 0}),
                             d::button("e", count("e")).framed(80, std::nullopt).accessibility("e")},
                            10, d::Alignment::leading)
                      .padded(20));
    // Content 360 wide; heights 30 + 20 + 10 + 22 and three gaps of 10 make
    // 112, centred in the 260 points inside the padding: its top 94 points
    // from the top of the view, so a's bottom is 300 - 94 - 30 = 176 up.
    EXPECT_EQ(controlNamed(*host, "a")->frame, (Rect{20, 176, 100, 30}));
    EXPECT_EQ(controlNamed(*host, "b")->frame, (Rect{20, 146, 40, 20}));
    EXPECT_EQ(controlNamed(*host, "c")->frame, (Rect{330, 146, 50, 20})) << "the spacer pushes c to the trailing padding";
    EXPECT_EQ(controlNamed(*host, "d")->frame, (Rect{27, 126, 60, 10})) << "the margin moves d 7 points in";
    EXPECT_EQ(controlNamed(*host, "e")->frame, (Rect{44, 94, 32, 22}))
        << "a push button is 22 high and at least 32 wide, centred in its 80-point frame";
    EXPECT_EQ(host->layoutCount(), 1);
    host->controls();
    EXPECT_EQ(host->layoutCount(), 1) << "nothing changed: no new layout";
    host->setFrameSize({500, 300});
    EXPECT_EQ(controlNamed(*host, "c")->frame, (Rect{430, 146, 50, 20}));
    EXPECT_EQ(host->layoutCount(), 2);
    EXPECT_TRUE(fired.empty());
}

// Tests that texts longer than the room wrap or end in an ellipsis inside the
// view instead of running past it, whatever their length.
TEST_F(HostingViewTest, LongTextsStayInsideTheView) {
    class Recorder : public Canvas {
    public:
        std::vector<Rect> rects;
        AppearanceName appearance() const override { return AppearanceName::aqua; }
        double scale() const override { return 2; }
        void fillRect(Rect, Color) override {}
        void fillRoundedRect(Rect, double, double, Color) override {}
        void strokeRoundedRect(Rect, double, double, Color) override {}
        void fillOval(Rect, Color) override {}
        void strokePolyline(const std::vector<Point>&, double, LineCap, Color) override {}
        void drawImage(const Image&, Rect, double) override {}
        void drawText(const std::string&, Rect rect, Font, Color) override { rects.push_back(rect); }
        void drawWrappedText(const std::string&, Rect rect, Font, Color, int, bool) override { rects.push_back(rect); }
        Size measureText(const std::string&, Font) override { return {}; }
        void save() override {}
        void restore() override {}
        void translate(double, double) override {}
        void clip(Rect) override {}
        void setAlpha(double) override {}
    };
    std::string longText, shorter;
    for (int i = 0; i < 2000; ++i) longText += "很长的提示";
    for (int i = 0; i < 10; ++i) shorter += "很长的提示";
    auto host = HostingView::create({0, 0, 300, 200});
    host->setRoot(d::vstack({d::hstack({d::symbol("xmark"), d::text(shorter), d::spacer(), d::button("关闭", [] {})}),
                             d::text(longText).lines(2), d::label(longText, "pin").lines(1)})
                      .padded(10));
    Recorder recorder;
    host->draw(recorder);
    ASSERT_EQ(recorder.rects.size(), 4u);
    for (const Rect& r : recorder.rects) {
        EXPECT_GE(r.minX(), 10);
        EXPECT_LE(r.maxX(), 290);
    }
    EXPECT_GT(recorder.rects[0].height(), 40) << "an unlimited text wraps onto many lines";
    EXPECT_LT(recorder.rects[2].height(), 50) << "two lines at most";
    auto close = controlNamed(*host, "关闭");
    ASSERT_TRUE(close);
    EXPECT_LE(close->frame.maxX(), 290) << "the button keeps its place beside the wrapped text";
}

// Tests that a click runs exactly the control under the pointer once, that
// disabled controls take clicks without acting, and that toggles, pop-up
// buttons and steppers answer the way the platform's do.
TEST_F(HostingViewTest, ClicksReachTheControlUnderThePointerOnce) {
    show(d::vstack({d::button("好", [this] { ++fired["ok"]; }),
                    d::button("不可用", [this] { ++fired["disabled"]; }).disabledIf(true),
                    d::toggle("居中", false, [this](bool v) { values.push_back(v ? "on" : "off"); }),
                    d::picker("策略", "auto", {{"auto", "自动"}, {"always", "始终显示"}},
                              [this](const std::string& v) { values.push_back("pick " + v); })
                        .hideLabel()
                        .framed(110, std::nullopt)
                        .accessibility("Safari 的入口策略"),
                    d::stepper("可见图标", 12, 2, 12, [this](long long v) { values.push_back("step " + std::to_string(v)); }, "12 个")},
                   10)
             .padded(10));
    json reply = clickOn("好");
    EXPECT_EQ(reply["view"]["accessibilityRole"], "AXButton");
    EXPECT_EQ(reply["view"]["accessibilityLabel"], "好");
    EXPECT_EQ(fired["ok"], 1);
    clickOn("好");
    EXPECT_EQ(fired["ok"], 2) << "each click once";

    clickOn("不可用");
    EXPECT_EQ(fired["disabled"], 0);
    auto disabled = controlNamed(*host_, "不可用");
    ASSERT_TRUE(disabled);
    EXPECT_FALSE(disabled->enabled);
    json press = desktop::verb("press 不可用");
    EXPECT_EQ(press["ok"], false);
    EXPECT_EQ(press["error"], "不可用 is disabled");
    EXPECT_EQ(fired["disabled"], 0);

    EXPECT_EQ(clickOn("居中")["view"]["accessibilityRole"], "AXCheckBox");
    EXPECT_EQ(values, (std::vector<std::string>{"on"})) << "the switch asks for the new state; the page decides";

    json pop = clickOn("Safari 的入口策略");
    EXPECT_EQ(pop["view"]["accessibilityRole"], "AXPopUpButton");
    json menu = desktop::verb("menu")["menu"];
    ASSERT_TRUE(menu.is_object()) << "the pop-up button shows its options as a menu";
    EXPECT_EQ(menu["items"][0]["state"], 1) << "the current option is checked";
    EXPECT_EQ(menu["items"][1]["state"], 0);
    // The current option's row (5 pt of padding, then 22 pt rows) lies over
    // the button, centred on the point clicked, its title left of it.
    ASSERT_TRUE(pop.contains("pointer"));
    EXPECT_NEAR(menu["location"][1].get<double>() - 5 - 11, pop["pointer"][1].get<double>(), 1.5);
    EXPECT_LT(menu["location"][0].get<double>(), pop["pointer"][0].get<double>() - 22);
    EXPECT_EQ(desktop::verb("choose 始终显示")["ok"], true);
    EXPECT_EQ(values.back(), "pick always");

    // The stepper stands at its maximum: its upper half does nothing, its lower half steps down.
    auto stepper = controlNamed(*host_, "可见图标");
    ASSERT_TRUE(stepper);
    EXPECT_FALSE(stepper->canIncrement);
    EXPECT_TRUE(stepper->canDecrement);
    std::size_t before = values.size();
    clickOn("可见图标", 5);
    EXPECT_EQ(values.size(), before) << "no step beyond the maximum";
    clickOn("可见图标", -5);
    EXPECT_EQ(values.back(), "step 11");
    EXPECT_EQ(desktop::verb("step 可见图标 up")["error"], "可见图标 cannot step further that way");
    EXPECT_EQ(desktop::verb("step 可见图标 down")["ok"], true);
    EXPECT_EQ(values.back(), "step 11");
    EXPECT_EQ(fired["ok"], 2) << "nothing else was clicked on the way";
}

// Tests that a click focuses a field and typing appends exactly what was
// typed (emoji and combining marks included), that invalid UTF-8 is refused,
// and that typing without a focused field reports it.
TEST_F(HostingViewTest, TypingGoesToTheFocusedField) {
    auto root = [this](const std::string& value) {
        return d::vstack({d::textField("搜索本机应用", value, [this](const std::string& v) { values.push_back(v); })}).padded(20);
    };
    show(root("ab"));
    json early = desktop::verb("type x");
    EXPECT_EQ(early["ok"], false) << "no field has focus yet";
    EXPECT_EQ(clickOn("搜索本机应用")["view"]["accessibilityRole"], "AXTextField");
    EXPECT_TRUE(controlNamed(*host_, "搜索本机应用")->focused);
    EXPECT_EQ(desktop::verb("type 😀e\xCC\x81 x")["ok"], true);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0], "ab😀e\xCC\x81 x") << "spaces, emoji and the combining acute arrive unchanged";
    EXPECT_FALSE(host_->typeText("\xFF\xFE"));
    EXPECT_EQ(values.size(), 1u);

    // The page rebuilds from its model: the field keeps focus by its place in the tree.
    host_->setRoot(root(values[0]));
    EXPECT_EQ(desktop::verb("type !")["ok"], true);
    EXPECT_EQ(values.back(), "ab😀e\xCC\x81 x!");
    EXPECT_EQ(controlNamed(*host_, values.back())->text, values.back()) << "the field shows its value";

    // The delete key takes whole characters: the letter with its combining
    // accent, an emoji sequence; past the start the field stays empty.
    host_->setRoot(root(values.back() + "👩‍💻"));
    EXPECT_EQ(desktop::verb("backspace")["ok"], true);
    EXPECT_EQ(values.back(), "ab😀e\xCC\x81 x!");
    EXPECT_EQ(desktop::verb("backspace 3")["ok"], true);
    EXPECT_EQ(values.back(), "ab😀e\xCC\x81");
    EXPECT_EQ(desktop::verb("backspace")["ok"], true);
    EXPECT_EQ(values.back(), "ab😀");
    const std::size_t changes = values.size();
    EXPECT_EQ(desktop::verb("backspace 10000")["ok"], true);
    EXPECT_EQ(values.back(), "");
    EXPECT_EQ(desktop::verb("backspace")["ok"], true) << "an empty field takes the key and stays empty";
    EXPECT_EQ(values.size(), changes + 1) << "and reports no change";
    // A NUL typed into the field (a browser can send one) counts as a character.
    EXPECT_TRUE(host_->typeText(std::string("x\0\xE4\xB8\xAD", 5)));
    EXPECT_TRUE(host_->deleteBackward(1));
    EXPECT_EQ(values.back(), std::string("x\0", 2));
    EXPECT_TRUE(host_->deleteBackward(2));
    EXPECT_EQ(values.back(), "");
    for (const char* bad : {"backspace 0", "backspace -1", "backspace 1.5", "backspace x", "backspace 10001", "backspace 1 2"})
        EXPECT_EQ(desktop::verb(bad)["ok"], false) << bad;
}

// Tests the verbs on a settings-like page: pressing by visible text, by
// accessibility label, a toolbar item and a sidebar row; a catalogue row far
// down a lazy list is scrolled to and pressed; repeated "固定" texts are told
// apart by their labels; pickers are chosen by name and option.
TEST_F(HostingViewTest, VerbsDrivePagesLikeAPerson) {
    orvane::test::GalleryLog log;
    show(orvane::test::galleryAppsPage(log, 3), {980, 720});
    EXPECT_EQ(desktop::verb("press 撤销导入")["ok"], true);
    EXPECT_EQ(desktop::verb("press 导入当前 Dock")["ok"], true) << "a toolbar item by its title";
    EXPECT_EQ(desktop::verb("press 打开 邮件")["ok"], true) << "a row's button by its accessibility label";
    EXPECT_EQ(desktop::verb("press 上移 Safari")["error"], "上移 Safari is disabled");
    EXPECT_EQ(desktop::verb("press 偏好设置")["ok"], true) << "a sidebar row";
    EXPECT_EQ(desktop::verb("pick 邮件 的入口策略 运行时让位")["ok"], true);
    EXPECT_EQ(desktop::verb("pick 邮件 的入口策略 永不")["error"], "邮件 的入口策略 has no option 永不");
    EXPECT_EQ(desktop::verb("press 没有这个")["error"], "no control named 没有这个");
    EXPECT_EQ(log.events, (std::vector<std::string>{"press undo", "press import", "launch 邮件", "tab settings", "pick 邮件 running"}));

    log.events.clear();
    show(orvane::test::galleryCataloguePage(log, 3000, orvane::test::CatalogueState::rows, ""), {980, 720});
    EXPECT_FALSE(controlNamed(*host_, "固定 备忘录 2002")) << "row 2002 is far below";
    EXPECT_EQ(desktop::verb("press 固定 备忘录 2002")["ok"], true);
    EXPECT_EQ(log.events, (std::vector<std::string>{"pin 备忘录 2002"}));
    EXPECT_TRUE(controlNamed(*host_, "固定 备忘录 2002")) << "the row was scrolled into view";
    EXPECT_LT(host_->listRowsLaidOut(), 30u);
    EXPECT_EQ(desktop::verb("press 已固定 Safari 2000")["error"], "已固定 Safari 2000 is disabled");
    EXPECT_EQ(desktop::verb("press 搜索本机应用")["ok"], true) << "a field by its placeholder takes focus";
    EXPECT_EQ(desktop::verb("type 音")["ok"], true);
    EXPECT_EQ(log.events.back(), "type 音");

    // A control below the visible part of a form is scrolled to, then pressed.
    log.events.clear();
    show(orvane::test::galleryFormPage(log), {980, 420});
    EXPECT_FALSE(controlNamed(*host_, "退出 岚舟"));
    EXPECT_EQ(desktop::verb("press 退出 岚舟")["ok"], true);
    EXPECT_TRUE(controlNamed(*host_, "退出 岚舟")) << "scrolled into view";
    EXPECT_EQ(desktop::verb("press 登录时启动 岚舟")["ok"], true) << "a toggle by its title";
    EXPECT_EQ(desktop::verb("press 恢复说明…")["error"], "恢复说明… is disabled");
    EXPECT_EQ(log.events, (std::vector<std::string>{"press quit", "login true"}));

    EXPECT_EQ(desktop::verb("press")["error"], "usage: press LABEL");
    EXPECT_EQ(desktop::verb("step 可见图标 sideways")["error"], "usage: step LABEL up|down");
    window_->orderOut();
    EXPECT_EQ(desktop::verb("press 固定 邮件 1")["error"], "no window of ours is open");
}

// Tests that replace swaps an identified node and lays out only it while the
// room around it stays as it was, again and again, and refuses (leaving the
// tree alone) a node that would need other room, a missing id or a tree due
// for layout; the buttons placed after it are where a full layout puts them.
TEST_F(HostingViewTest, ReplaceLaysOutOnlyANodeThatKeepsItsRoom) {
    auto labelled = [this](const std::string& title) {
        return d::button(title, [this, title] { ++fired[title]; }).identified("pressed");
    };
    auto host = show(d::vstack({d::text("above"), d::hstack({labelled("Go"), d::text("after")}), d::button("Below", [] {})}));
    host->layoutIfNeeded();
    const auto layouts = host->layoutCount();
    const auto below = controlNamed(*host, "Below")->frame;

    EXPECT_TRUE(host->replace("pressed", labelled("Go")));
    EXPECT_TRUE(host->replace("pressed", labelled("Go"))) << "a second replace before the layout";
    host->layoutIfNeeded();
    EXPECT_TRUE(host->replace("pressed", labelled("Go"))) << "and after it, when the node's answers were kept";
    EXPECT_EQ(host->layoutCount(), layouts);
    EXPECT_EQ(controlNamed(*host, "Below")->frame, below);
    clickOn("Go");
    EXPECT_EQ(fired["Go"], 1) << "the replaced button takes the click";

    EXPECT_FALSE(host->replace("pressed", labelled("A much longer title than before"))) << "a wider button moves its neighbour";
    EXPECT_FALSE(host->replace("missing", labelled("Go")));
    EXPECT_TRUE(controlNamed(*host, "Go")) << "a refused replacement leaves the tree alone";
    host->setRoot(d::Node(host->root()));
    EXPECT_FALSE(host->replace("pressed", labelled("Go"))) << "the whole tree is due for layout";
}

}  // namespace
