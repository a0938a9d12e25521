#include "settings/SettingsRoot.h"

#include "settings/AddAppsPage.h"
#include "settings/Banner.h"
#include "settings/ModelAction.h"
#include "settings/Nodes.h"
#include "settings/PinnedAppsPage.h"
#include "settings/PreferencesPage.h"
#include "settings/SettingsStyle.h"
#include "settings/SettingsTexts.h"
#include "strip/Brand.h"

namespace orvane {

namespace {

using namespace nodes;
namespace texts = settingsTexts;
namespace tab = settingsTexts::tab;

constexpr double sidebarMinWidth = 170;
constexpr double sidebarIdealWidth = 190;
constexpr double sidebarMaxWidth = 230;
constexpr double productIconSide = 34;
constexpr double headerSpacing = 10;
constexpr double namesSpacing = 2;
constexpr double sidebarPadding = 12;
constexpr double footerSpacing = 9;
constexpr double footerTop = 12;

// A page name the window does not know shows the pinned apps, and the
// sidebar and toolbar agree with the page shown.
std::string shownTab(const std::string& selected) {
    if (selected == tab::add || selected == tab::settings) return selected;
    return tab::apps;
}

Node sidebarHeader() {
    Node icon = make(Kind::image);
    icon.image = Brand::icon();
    icon.frame.width = productIconSide;
    icon.frame.height = productIconSide;
    icon.accessibilityHidden = true;
    auto names = vstack(Alignment::leading, namesSpacing,
                        text(Brand::name).font(textSize::callout, platform::ui::Font::Weight::semibold).foreground(platform::ui::Color::label()),
                        text(std::string(Brand::englishName) + texts::versionSeparator + Brand::version).font(textSize::caption2));
    return hstack(Alignment::center, headerSpacing, std::move(icon), std::move(names))
        .padded(sidebarPadding);
}

Node pageRow(const char* title, const char* symbolName, const char* tag) {
    Node row = label(title, symbolName);
    row.tag = tag;
    return row;
}

Node pageList(const std::shared_ptr<SettingsModel>& model) {
    Node list = make(Kind::sidebarList);
    list.selection = shownTab(model->tab());
    list.children.push_back(pageRow(texts::appsPage, texts::symbol::menubar, tab::apps));
    list.children.push_back(pageRow(texts::addPage, texts::symbol::addApp, tab::add));
    list.children.push_back(pageRow(texts::settingsPage, texts::symbol::sliders, tab::settings));
    list.changed = onModel(model, [](SettingsModel& m, const std::string& selected) { m.setTab(selected); });
    list.frame.maxHeight = FrameSpec::infinity;
    return list;
}

Node sidebarFooter() {
    return vstack(Alignment::leading, footerSpacing, label(texts::shortcut, texts::symbol::keyboard),
                  text(texts::shortcutCaption).font(textSize::caption))
        .padded({footerTop, sidebarPadding, sidebarPadding, sidebarPadding});
}

Node sidebar(const std::shared_ptr<SettingsModel>& model) {
    return vstack(Alignment::leading, 0, sidebarHeader(), pageList(model), sidebarFooter())
        .framed({.minWidth = sidebarMinWidth, .idealWidth = sidebarIdealWidth, .maxWidth = sidebarMaxWidth,
                 .maxHeight = FrameSpec::infinity});
}

std::vector<Node> toolbar(const std::shared_ptr<SettingsModel>& model) {
    std::vector<Node> items;
    if (shownTab(model->tab()) == tab::apps) {
        items.push_back(button(texts::importDock,
                               onModel(model, [](SettingsModel& m) { m.action(texts::kind::importDock); }),
                               texts::symbol::importDock)
                            .help(texts::importDockTip)
                            .accessibility(texts::importDockFromToolbarLabel));
        items.push_back(button(texts::addApps, onModel(model, [](SettingsModel& m) { m.setTab(tab::add); }),
                               texts::symbol::plus));
    }
    items.push_back(button(texts::hideWindow,
                           onModel(model, [](SettingsModel& m) { m.action(texts::kind::hideSettings); }),
                           texts::symbol::compress)
                        .help(texts::hideWindowTip));
    return items;
}

Node page(const std::shared_ptr<SettingsModel>& model) {
    const auto shown = shownTab(model->tab());
    if (shown == tab::add) return addApps(model);
    if (shown == tab::settings) return preferences(model);
    return pinnedApps(model);
}

Node detail(const std::shared_ptr<SettingsModel>& model) {
    auto column = vstack(Alignment::leading, 0);
    if (auto shown = banner(model)) column.children.push_back(std::move(*shown));
    column.children.push_back(page(model));
    return std::move(column).framed({.maxWidth = FrameSpec::infinity, .maxHeight = FrameSpec::infinity,
                                     .alignment = Alignment::top});
}

}  // namespace

std::string detailTitle(const std::string& selected) {
    if (selected == tab::add) return texts::addPage;
    if (selected == tab::settings) return texts::settingsPage;
    return texts::appsPage;
}

Node SettingsRoot(const std::shared_ptr<SettingsModel>& model) {
    Node root = make(Kind::splitView);
    root.title = detailTitle(model->tab());
    root.toolbar = toolbar(model);
    root.children.push_back(sidebar(model));
    root.children.push_back(detail(model));
    return root;
}

}  // namespace orvane
