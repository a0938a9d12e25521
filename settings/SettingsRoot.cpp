#include "settings/SettingsRoot.h"

#include "model/EventRecords.h"
#include "settings/AddAppsPage.h"
#include "settings/Banner.h"
#include "settings/ModelAction.h"
#include "settings/PinnedAppsPage.h"
#include "settings/PreferencesPage.h"
#include "settings/SettingsTexts.h"
#include "model/Brand.h"

namespace orvane {

namespace {

using namespace platform::ui::declarative;
using Weight = platform::ui::Font::Weight;
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

Node sidebarHeader(std::shared_ptr<platform::ui::Image> productIcon) {
    return hstack({image(std::move(productIcon)).framed(productIconSide, productIconSide).accessibilityHiddenIf(),
                   vstack({text(Brand::name).font(textSize::callout, Weight::semibold).foreground(platform::ui::Color::label()),
                           text(std::string(Brand::englishName) + texts::versionSeparator + Brand::version)
                               .font(textSize::caption2)},
                          namesSpacing, Alignment::leading)},
                  headerSpacing)
        .padded(sidebarPadding);
}

Node pageList(const std::shared_ptr<SettingsModel>& model) {
    return sidebarList({label(texts::appsPage, texts::symbol::menubar).tagged(tab::apps),
                        label(texts::addPage, texts::symbol::addApp).tagged(tab::add),
                        label(texts::settingsPage, texts::symbol::sliders).tagged(tab::settings)},
                       shownTab(model->tab()),
                       onModel(model, [](SettingsModel& m, const std::string& selected) { m.setTab(selected); }))
        .filling(Alignment::leading, true);
}

Node sidebarFooter() {
    return vstack({label(texts::shortcut, texts::symbol::keyboard), text(texts::shortcutCaption).font(textSize::caption)},
                  footerSpacing, Alignment::leading)
        .padded({footerTop, sidebarPadding, sidebarPadding, sidebarPadding});
}

Node sidebar(const std::shared_ptr<SettingsModel>& model, std::shared_ptr<platform::ui::Image> productIcon) {
    auto column = vstack({sidebarHeader(std::move(productIcon)), pageList(model), sidebarFooter()}, 0, Alignment::leading);
    column.frame.minWidth = sidebarMinWidth;
    column.frame.idealWidth = sidebarIdealWidth;
    column.frame.maxWidth = sidebarMaxWidth;
    column.frame.maxHeight = FrameSpec::infinity;
    column.frame.alignment = Alignment::leading;
    return column;
}

std::vector<Node> toolbar(const std::shared_ptr<SettingsModel>& model) {
    std::vector<Node> items;
    if (shownTab(model->tab()) == tab::apps) {
        items.push_back(button(texts::importDock, onModel(model, [](SettingsModel& m) { m.emit(events::importDock()); }),
                               texts::symbol::importDock)
                            .help(texts::importDockTip)
                            .accessibility(texts::importDockFromToolbarLabel));
        items.push_back(button(texts::addApps, onModel(model, [](SettingsModel& m) { m.setTab(tab::add); }), texts::symbol::plus));
    }
    items.push_back(button(texts::hideWindow, onModel(model, [](SettingsModel& m) { m.emit(events::hideSettings()); }),
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
    std::vector<Node> parts;
    if (auto shown = banner(model)) parts.push_back(std::move(*shown));
    parts.push_back(page(model));
    return vstack(std::move(parts), 0, Alignment::leading).filling(Alignment::leading, true);
}

std::string detailTitle(const std::string& selected) {
    const auto shown = shownTab(selected);
    if (shown == tab::add) return texts::addPage;
    if (shown == tab::settings) return texts::settingsPage;
    return texts::appsPage;
}

}  // namespace

Node SettingsRoot(const std::shared_ptr<SettingsModel>& model, std::shared_ptr<platform::ui::Image> productIcon) {
    return splitView(sidebar(model, std::move(productIcon)), detail(model), detailTitle(model->tab()), toolbar(model));
}

}  // namespace orvane
