#include "settings/AddAppsPage.h"

#include <set>

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
    auto field = textField(texts::searchPlaceholder, model->query(),
                           onModel(model, [](SettingsModel& m, const std::string& typed) { m.setQuery(typed); }))
                     .styled(ButtonStyle::plain)
                     .filling(Alignment::leading);
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
    std::set<std::string> pinnedIds;
};

Node row(const std::shared_ptr<SettingsModel>& model, const SettingsApp& app, bool pinned) {
    auto names = vstack({text(app.name()).font(textSize::body, Weight::medium).lines(1),
                         text(app.path()).font(textSize::caption).foreground(settingsStyle::secondary()).lines(1)},
                        nameSpacing, Alignment::leading)
                     .filling(Alignment::leading);
    auto pin = button(pinned ? texts::appPinned : texts::pinApp,
                      onModel(model, [app](SettingsModel& m) { m.emit(events::pin(app.dictionary())); }))
                   .disabledIf(pinned)
                   .accessibility((pinned ? texts::appPinnedPrefix : texts::pinAppPrefix) + app.name());
    return hstack({appIcon(app), std::move(names), std::move(pin)}, rowSpacing);
}

Node catalogueList(const std::shared_ptr<SettingsModel>& model, std::shared_ptr<const Catalogue> catalogue) {
    const auto count = catalogue->found.size();
    return lazyList(count, [model = std::weak_ptr<SettingsModel>(model), catalogue](std::size_t index) {
        auto strong = model.lock();
        if (!strong || index >= catalogue->found.size()) return Node{};
        const auto& app = (*catalogue->installed)[catalogue->found[index]];
        return row(strong, app, catalogue->pinnedIds.count(app.id()) > 0);
    });
}

}  // namespace

Node addApps(const std::shared_ptr<SettingsModel>& model) {
    std::vector<Node> parts{searchBox(model)};
    if (model->loading()) {
        parts.push_back(progress(texts::loadingInstalled).filling(Alignment::center, true));
    } else {
        auto catalogue = std::make_shared<Catalogue>();
        catalogue->installed = model->installed();
        catalogue->found = AppSearch(model->query()).matching(*catalogue->installed);
        if (catalogue->found.empty()) {
            parts.push_back(emptySearch(model->query()).filling(Alignment::center, true));
        } else {
            for (const auto& app : model->pinned()) catalogue->pinnedIds.insert(app.id());
            parts.push_back(catalogueList(model, std::move(catalogue)));
        }
    }
    return vstack(std::move(parts), 0, Alignment::leading).filling(Alignment::leading, true);
}

}  // namespace orvane
