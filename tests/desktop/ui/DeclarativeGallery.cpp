#include "tests/desktop/ui/DeclarativeGallery.h"

#include <cstdio>

namespace orvane::test {

namespace d = platform::ui::declarative;
using d::Alignment;
using d::ButtonStyle;
using d::FrameSpec;
using d::Node;
using platform::ui::Color;
using platform::ui::Font;

namespace {

const char* const appNames[] = {"Safari", "邮件", "备忘录", "音乐", "访达", "系统设置", "日历", "照片"};

std::string appName(int i) {
    std::string name = appNames[i % 8];
    if (i >= 8) name += " " + std::to_string(i);
    return name;
}

Node sidebar(GalleryLog& log, const std::string& tab) {
    Node header = d::hstack({d::fileIcon("/Applications/岚舟.app").framed(34, 34),
                             d::vstack({d::text("岚舟").font(d::textSize::callout, Font::Weight::semibold),
                                        d::text("Velisk  0.2.2").font(d::textSize::caption2).foreground(Color::secondaryLabel())},
                                       2, Alignment::leading)},
                            8)
                      .padded({6, 14, 10, 14});
    Node pages = d::sidebarList({d::label("应用栏", "menubar.rectangle").tagged("apps"),
                                 d::label("添加应用", "plus.app").tagged("add"),
                                 d::label("偏好设置", "slider.horizontal.3").tagged("settings")},
                                tab, [&log](const std::string& t) { log.events.push_back("tab " + t); });
    Node footer = d::vstack({d::label("⌘ ⌥ Space", "keyboard"),
                             d::text("打开完整应用列表").font(d::textSize::caption).foreground(Color::secondaryLabel())},
                            9, Alignment::leading)
                      .padded({12, 16, 14, 16});
    Node column = d::vstack({std::move(header), std::move(pages), std::move(footer)}, 0, Alignment::leading);
    FrameSpec width;
    width.minWidth = 170;
    width.idealWidth = 190;
    width.maxWidth = 230;
    return std::move(column).framed(width);
}

std::vector<Node> toolbar(GalleryLog& log, bool apps) {
    std::vector<Node> items;
    if (apps) {
        items.push_back(d::button("导入当前 Dock", [&log] { log.events.push_back("press import"); }, "square.and.arrow.down")
                            .help("复制固定应用和顺序，保留原 Dock 列表"));
        items.push_back(d::button("添加应用", [&log] { log.events.push_back("tab add"); }, "plus"));
    }
    items.push_back(d::button("收起窗口", [&log] { log.events.push_back("press hide"); }, "rectangle.compress.vertical")
                        .help("收起窗口，菜单栏继续运行"));
    return items;
}

Node banner(GalleryLog& log) {
    return d::hstack({d::symbol("exclamationmark.triangle.fill").symbolTint(Color::systemOrange()),
                      d::text("无法写入 Dock 偏好设置：权限不足。请在“系统设置”中允许岚舟控制 Dock，然后重试。这条提示很长，用来检查折行。")
                          .font(d::textSize::callout),
                      d::spacer(),
                      d::button({d::symbol("xmark")}, [&log] { log.events.push_back("press dismiss"); })
                          .styled(ButtonStyle::plain)
                          .help("关闭提示")
                          .accessibility("关闭提示")},
                     8, Alignment::top)
        .padded(12)
        .backed(Color::quaternaryLabel());
}

Node iconButton(GalleryLog& log, const std::string& symbol, const std::string& label, bool disabled, const std::string& event) {
    return d::button({d::symbol(symbol).framed(18, 24)}, [&log, event] { log.events.push_back(event); })
        .styled(ButtonStyle::borderless)
        .help(label)
        .accessibility(label)
        .disabledIf(disabled);
}

Node pinnedRow(GalleryLog& log, int i, int count) {
    std::string name = appName(i);
    char position[16];
    std::snprintf(position, sizeof position, "%02d", i + 1);
    static const char* const policies[] = {"auto", "always", "running"};
    static const char* const statuses[] = {"自动识别 · 保留应用入口", "始终显示在应用栏", "运行时让位给原生入口"};
    return d::hstack(
        {d::text(position).font(d::textSize::caption).monospaced().foreground(Color::tertiaryLabel()).framed(20, std::nullopt),
         d::button({d::fileIcon("/Applications/" + name + ".app").framed(32, 32).accessibilityHiddenIf(),
                    d::vstack({d::text(name).bold(Font::Weight::medium).lines(1),
                               d::text(statuses[i % 3]).font(d::textSize::caption).foreground(Color::secondaryLabel()).lines(1)},
                              4, Alignment::leading)},
                   [&log, name] { log.events.push_back("launch " + name); })
             .styled(ButtonStyle::borderless)
             .accessibility("打开 " + name),
         d::spacer(),
         d::picker("入口策略", policies[i % 3], {{"auto", "自动"}, {"always", "始终显示"}, {"running", "运行时让位"}},
                   [&log, name](const std::string& v) { log.events.push_back("pick " + name + " " + v); })
             .hideLabel()
             .framed(110, std::nullopt)
             .help(name + " 的入口策略")
             .accessibility(name + " 的入口策略"),
         d::hstack({iconButton(log, "chevron.up", "上移 " + name, i == 0, "up " + name),
                    iconButton(log, "chevron.down", "下移 " + name, i == count - 1, "down " + name),
                    iconButton(log, "minus.circle", "取消固定 " + name, false, "unpin " + name)},
                   2)},
        10);
}

Node splitWith(GalleryLog& log, const std::string& tab, const std::string& title, Node detail) {
    return d::splitView(sidebar(log, tab), std::move(detail), title, toolbar(log, tab == "apps"));
}

}  // namespace

Node galleryAppsPage(GalleryLog& log, int rows, const std::string& tab) {
    std::vector<Node> pinned;
    for (int i = 0; i < rows; ++i) pinned.push_back(pinnedRow(log, i, rows));
    Node header = d::vstack({d::text("常用应用，随手可达").font(d::textSize::title, Font::Weight::semibold),
                             d::text("固定顺序与菜单栏同步；悬停图标查看完整窗口。").foreground(Color::secondaryLabel()),
                             d::button("撤销导入", [&log] { log.events.push_back("press undo"); })},
                            6, Alignment::leading)
                      .filling(Alignment::leading)
                      .padded(24);
    Node counters = d::hstack({d::label("已固定 " + std::to_string(rows), "pin"), d::label("栏内 3", "menubar.rectangle"),
                               d::label("已让位 1", "arrow.right.to.line")},
                              20)
                        .font(d::textSize::callout)
                        .foreground(Color::secondaryLabel())
                        .filling(Alignment::leading)
                        .padded({0, 24, 16, 24});
    Node body = rows > 0 ? d::list(std::move(pinned))
                         : d::vstack({d::label("把常用应用带到顶部", "menubar.dock.rectangle").font(d::textSize::title3, Font::Weight::semibold),
                                      d::text("导入当前 Dock，或选择本机应用。").foreground(Color::secondaryLabel()),
                                      d::button("导入当前 Dock", [&log] { log.events.push_back("press import empty"); })
                                          .styled(ButtonStyle::prominent)
                                          .accessibility("导入当前 Dock（空列表）")},
                                     10)
                               .filling(Alignment::center, true);
    Node detail = d::vstack({banner(log), std::move(header), std::move(counters), d::divider(), std::move(body)}, 0, Alignment::leading);
    return splitWith(log, tab, "应用栏", std::move(detail));
}

Node galleryFormPage(GalleryLog& log) {
    auto flag = [&log](const std::string& key) {
        return [&log, key](bool v) { log.events.push_back("toggle " + key + (v ? " true" : " false")); };
    };
    auto permission = [&log](const std::string& title, bool granted, const std::string& detail, const std::string& event) {
        Node status = granted ? d::label("已允许", "checkmark.circle.fill").symbolTint(Color::systemGreen())
                              : d::label("未生效", "circle").foreground(Color::secondaryLabel());
        return d::hstack({d::vstack({d::text(title),
                                     d::text(detail).font(d::textSize::caption).foreground(Color::secondaryLabel())},
                                    3, Alignment::leading),
                          d::spacer(), std::move(status),
                          d::button(granted ? "系统设置…" : "前往授权…", [&log, event] { log.events.push_back("press " + event); })
                              .accessibility((granted ? "系统设置… " : "前往授权… ") + title)},
                         10);
    };
    Node form = d::form({
        d::section(d::label("菜单栏", "menubar.rectangle"),
                   {d::toggle("将应用栏居中显示", true, flag("centered")),
                    d::text("与菜单栏同高，右侧保留管理入口。长菜单可能与浮层重叠；刘海屏保留右侧入口。").font(d::textSize::caption),
                    d::toggle("显示未固定的运行应用", false, flag("showRunning")),
                    d::stepper("可见图标", 12, 2, 12, [&log](long long v) { log.events.push_back("step " + std::to_string(v)); }, "12 个")}),
        d::section(d::label("权限与窗口预览", "macwindow"),
                   {permission("辅助功能", true, "用于识别同一应用的原生菜单栏入口。系统开关已打开但未生效时，可重新检测或重开岚舟。", "permission"),
                    permission("屏幕录制", false, "用于完整窗口预览，仅读取当前小窗。授权后可重新检测；仍不可用时重新打开岚舟。", "screenPermission"),
                    d::hstack({d::button("重新检测辅助功能", [&log] { log.events.push_back("press accessibilityRetry"); }),
                               d::button("重新检测屏幕权限", [&log] { log.events.push_back("press screenRetry"); }),
                               d::button("重新打开岚舟", [&log] { log.events.push_back("press relaunch"); })},
                              8)}),
        d::section(d::label("底部 Dock", "dock.rectangle"),
                   {d::labeledContent("持续隐藏", d::text("未开启").foreground(Color::secondaryLabel())),
                    d::vstack({d::text("开启后在启动、唤醒及运行期间保持隐藏，退出后保留。保存原设置，可随时恢复。"),
                               d::text("依赖系统未公开的弹出延迟偏好，系统特殊场景仍可能唤出 Dock。")},
                              4, Alignment::leading)
                        .font(d::textSize::caption)
                        .foreground(Color::secondaryLabel()),
                    d::hstack({d::button("开启持续隐藏", [&log] { log.events.push_back("press toggleDock"); }),
                               d::button("恢复说明…", [&log] { log.events.push_back("press recovery"); }).disabledIf(true)},
                              8)}),
        d::section(d::label("启动与退出", "power"),
                   {d::toggle("登录时启动 岚舟", false, [&log](bool v) { log.events.push_back(std::string("login ") + (v ? "true" : "false")); }),
                    d::hstack({d::text("菜单栏常驻 · ⌘ ⌥ Space 打开完整列表").foreground(Color::secondaryLabel()), d::spacer(),
                               d::button("退出 岚舟", [&log] { log.events.push_back("press quit"); })})}),
    });
    return splitWith(log, "settings", "偏好设置", std::move(form));
}

Node galleryCataloguePage(GalleryLog& log, int rows, CatalogueState state, const std::string& query) {
    Node search = d::hstack({d::symbol("magnifyingglass").foreground(Color::secondaryLabel()),
                             d::textField("搜索本机应用", query, [&log](const std::string& v) { log.events.push_back("type " + v); })
                                 .styled(ButtonStyle::plain),
                             d::button({d::symbol("xmark.circle.fill").foreground(Color::tertiaryLabel())},
                                       [&log] { log.events.push_back("press clear"); })
                                 .styled(ButtonStyle::plain)
                                 .help("清空搜索")
                                 .accessibility("清空搜索")},
                            8)
                      .padded(10)
                      .backed(Color::quaternaryLabel(), 8)
                      .margined(20);
    Node body;
    if (state == CatalogueState::loading) {
        body = d::progress("正在读取本机应用…").filling(Alignment::center, true);
    } else if (state == CatalogueState::empty) {
        body = d::emptySearch(query);
    } else {
        body = d::lazyList(static_cast<std::size_t>(rows), [&log](std::size_t i) {
            std::string name = appName(static_cast<int>(i));
            bool pinned = i % 5 == 0;
            return d::hstack({d::fileIcon("/Applications/" + name + ".app").framed(32, 32),
                              d::vstack({d::text(name).bold(Font::Weight::medium).lines(1),
                                         d::text("/Applications/" + name + ".app").font(d::textSize::caption).foreground(Color::secondaryLabel()).lines(1)},
                                        4, Alignment::leading),
                              d::spacer(),
                              d::button(pinned ? "已固定" : "固定", [&log, name] { log.events.push_back("pin " + name); })
                                  .disabledIf(pinned)
                                  .accessibility((pinned ? "已固定 " : "固定 ") + name)},
                             10);
        });
    }
    Node detail = d::vstack({std::move(search), std::move(body)}, 0, Alignment::leading);
    return splitWith(log, "add", "添加应用", std::move(detail));
}

}  // namespace orvane::test
