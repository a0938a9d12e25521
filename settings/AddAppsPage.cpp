#include "settings/AddAppsPage.h"

#include <set>
#include <string_view>

#include "model/EventRecords.h"
#include "settings/AppIcon.h"
#include "settings/AppSearch.h"
#include "settings/ModelAction.h"
#include "settings/SettingsStyle.h"
#include "settings/SettingsTexts.h"

namespace orvane {

namespace {

using namespace platform::ui::declarative;
using Weight = platform::ui::Font::Weight;
namespace texts = settingsTexts;

constexpr double boxSpacing = 6;
constexpr double boxPadding = 10;
constexpr double boxCornerRadius = 8;
constexpr double boxMargin = 20;
constexpr double rowSpacing = 10;
constexpr double nameSpacing = 4;

Node searchBox(const std::shared_ptr<SettingsModel>& model) {
    auto field = addAppsSearchField(model);
    auto clear = button("", onModel(model, [](SettingsModel& m) { m.setQuery(""); }), texts::symbol::clearSearch)
                     .styled(ButtonStyle::plain)
                     .help(texts::clearSearch)
                     .accessibility(texts::clearSearch);
    return hstack({symbol(texts::symbol::search).foreground(settingsStyle::secondary()), std::move(field), std::move(clear)},
                  boxSpacing)
        .padded(boxPadding)
        .backed(settingsStyle::quaternaryTint(), boxCornerRadius)
        .margined(boxMargin);
}

// What the list shows, shared by the rows built while it scrolls.
struct Catalogue {
    std::shared_ptr<const SettingsModel::Apps> installed;
    std::vector<std::size_t> found;
    std::shared_ptr<const std::set<std::string>> pinnedIds;
};

// Everything a row shows and what its pin button sends (the app's whole
// dictionary), so that the layout can show the row it laid out last wherever
// the same app appears again in the same state.
std::string rowKey(const SettingsApp& app, bool pinned) {
    constexpr char separator = '\x1f';
    const std::string_view parts[] = {"addApps.row", app.id(), app.name(), app.path(), app.policy(), pinned ? "pinned" : "unpinned"};
    std::size_t length = std::size(parts) - 1;
    for (std::string_view part : parts) {
        // A part holding the separator would make two rows' keys alike: such a row is built and laid out anew.
        if (part.find(separator) != std::string_view::npos) return {};
        length += part.size();
    }
    // Written in place: a keystroke names every row in view.
    std::string key(length, separator);
    std::size_t at = 0;
    for (std::string_view part : parts) {
        part.copy(key.data() + at, part.size());
        at += part.size() + 1;
    }
    return key;
}

// The row's button holds its app through the catalogue's list rather than a copy.
Node row(const std::shared_ptr<SettingsModel>& model, std::shared_ptr<const SettingsApp> shown, bool pinned) {
    const SettingsApp& app = *shown;
    auto names = vstack(nodes(text(app.name()).font(textSize::body, Weight::medium).lines(1),
                              text(app.path()).font(textSize::caption).foreground(settingsStyle::secondary()).lines(1)),
                        nameSpacing, Alignment::leading)
                     .filling(Alignment::leading);
    auto pin = button(pinned ? texts::appPinned : texts::pinApp,
                      onModel(model, [shown](SettingsModel& m) { m.emit(events::pin(shown->dictionary())); }))
                   .disabledIf(pinned)
                   .accessibility((pinned ? texts::appPinnedPrefix : texts::pinAppPrefix) + app.name());
    return hstack(nodes(appIcon(app), std::move(names), std::move(pin)), rowSpacing).reusable(rowKey(app, pinned));
}

// The rows tell their keys before they are built, so that a keystroke shows
// the rows of apps seen since the list was last built instead of building them.
Node catalogueList(const std::shared_ptr<SettingsModel>& model, std::shared_ptr<const Catalogue> catalogue) {
    const auto count = catalogue->found.size();
    return lazyList(count,
                    [model = std::weak_ptr<SettingsModel>(model), catalogue](std::size_t index) {
                        auto strong = model.lock();
                        if (!strong || index >= catalogue->found.size()) return Node{};
                        std::shared_ptr<const SettingsApp> app(catalogue->installed, &(*catalogue->installed)[catalogue->found[index]]);
                        const bool pinned = catalogue->pinnedIds->count(app->id()) > 0;
                        return row(strong, std::move(app), pinned);
                    })
        .keyedRows([catalogue](std::size_t index) {
            if (index >= catalogue->found.size()) return std::string();
            const SettingsApp& app = (*catalogue->installed)[catalogue->found[index]];
            return rowKey(app, catalogue->pinnedIds->count(app.id()) > 0);
        });
}

}  // namespace

Node addAppsSearchField(const std::shared_ptr<SettingsModel>& model) {
    return textField(texts::searchPlaceholder, model->query(),
                     onModel(model, [](SettingsModel& m, const std::string& typed) { m.setQuery(typed); }))
        .styled(ButtonStyle::plain)
        .filling(Alignment::leading)
        .identified(addAppsPart::searchField);
}

Node addAppsResults(const std::shared_ptr<SettingsModel>& model) {
    if (model->loading())
        return progress(texts::loadingInstalled).filling(Alignment::center, true).identified(addAppsPart::results);
    auto catalogue = std::make_shared<Catalogue>();
    catalogue->installed = model->installed();
    catalogue->found = AppSearch(model->query()).matching(*catalogue->installed);
    if (catalogue->found.empty())
        return emptySearch(model->query()).filling(Alignment::center, true).identified(addAppsPart::results);
    catalogue->pinnedIds = model->pinnedIds();
    return catalogueList(model, std::move(catalogue)).identified(addAppsPart::results);
}

Node addApps(const std::shared_ptr<SettingsModel>& model) {
    return vstack(nodes(searchBox(model), addAppsResults(model)), 0, Alignment::leading).filling(Alignment::leading, true);
}

}  // namespace orvane
