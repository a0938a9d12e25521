#include "settings/AddAppsPage.h"

#include <set>

#include "settings/AppIcon.h"
#include "settings/AppSearch.h"
#include "settings/ModelAction.h"
#include "settings/Nodes.h"
#include "settings/SettingsStyle.h"
#include "settings/SettingsTexts.h"

namespace orvane {

namespace {

using namespace nodes;
namespace texts = settingsTexts;

constexpr double boxSpacing = 6;
constexpr double boxPadding = 10;
constexpr double boxCornerRadius = 8;
constexpr double boxMargin = 20;
constexpr double rowSpacing = 10;
constexpr double nameSpacing = 4;

Node searchBox(const std::shared_ptr<SettingsModel>& model) {
    Node field = make(Kind::textField);
    field.text = model->query();
    field.placeholder = texts::searchPlaceholder;
    field.accessibilityLabel = texts::searchPlaceholder;
    field.buttonStyle = ButtonStyle::plain;
    field.frame.maxWidth = FrameSpec::infinity;
    field.changed = onModel(model, [](SettingsModel& m, const std::string& typed) { m.setQuery(typed); });

    auto clear = symbolButton(texts::symbol::clearSearch, texts::clearSearch,
                              onModel(model, [](SettingsModel& m) { m.setQuery(""); }))
                     .styled(ButtonStyle::plain)
                     .help(texts::clearSearch);

    auto box = hstack(Alignment::center, boxSpacing, symbol(texts::symbol::search).foreground(settingsStyle::secondary()),
                      std::move(field), std::move(clear))
                   .padded(boxPadding)
                   .backed(settingsStyle::quaternaryTint(), boxCornerRadius);
    return vstack(Alignment::leading, 0, std::move(box)).padded(boxMargin);
}

Node loadingLine() {
    Node progress = make(Kind::progress);
    progress.text = texts::loadingInstalled;
    return std::move(progress).framed({.maxWidth = FrameSpec::infinity, .maxHeight = FrameSpec::infinity});
}

Node noResults(const std::string& query) {
    Node view = make(Kind::emptySearch);
    view.text = query;
    return std::move(view).framed({.maxWidth = FrameSpec::infinity, .maxHeight = FrameSpec::infinity});
}

Node row(const std::shared_ptr<SettingsModel>& model, const SettingsApp& app, bool pinned) {
    auto name = text(app.name()).font(textSize::body, platform::ui::Font::Weight::medium);
    name.lineLimit = 1;
    auto path = text(app.path()).font(textSize::caption).foreground(settingsStyle::secondary());
    path.lineLimit = 1;
    auto column = vstack(Alignment::leading, nameSpacing, std::move(name), std::move(path));
    column.frame = {.maxWidth = FrameSpec::infinity, .alignment = Alignment::leading};

    auto pin = button(pinned ? texts::appPinned : texts::pinApp,
                      onModel(model, [app](SettingsModel& m) { m.appAction(texts::kind::pin, app); }))
                   .disabledIf(pinned)
                   .accessibility((pinned ? texts::appPinnedPrefix : texts::pinAppPrefix) + app.name());
    return hstack(Alignment::center, rowSpacing, appIcon(app), std::move(column), std::move(pin));
}

}  // namespace

Node addApps(const std::shared_ptr<SettingsModel>& model) {
    auto page = vstack(Alignment::leading, 0, searchBox(model));
    if (model->loading()) {
        page.children.push_back(loadingLine());
        return page;
    }
    const auto& installed = *model->installed();
    const auto found = AppSearch(model->query()).matching(installed);
    if (found.empty()) {
        page.children.push_back(noResults(model->query()));
        return page;
    }
    std::set<std::string> pinnedIds;
    for (const auto& app : model->pinned()) pinnedIds.insert(app.id());
    Node list = make(Kind::list);
    list.alternatingRows = true;
    list.children.reserve(found.size());
    for (auto index : found) {
        const auto& app = installed[index];
        list.children.push_back(row(model, app, pinnedIds.count(app.id()) > 0));
    }
    page.children.push_back(std::move(list));
    return page;
}

}  // namespace orvane
