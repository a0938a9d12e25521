#include "settings/PinnedAppsPage.h"

#include <cstdio>

#include "model/EventRecords.h"
#include "settings/AppIcon.h"
#include "settings/ModelAction.h"
#include "settings/SettingsStyle.h"
#include "settings/SettingsTexts.h"

namespace orvane {

namespace {

using namespace platform::ui::declarative;
using Weight = platform::ui::Font::Weight;
namespace texts = settingsTexts;

constexpr double headerPadding = 24;
constexpr double headerSpacing = 6;
constexpr double counterSpacing = 20;
constexpr double counterBottom = 16;
constexpr double positionWidth = 20;
constexpr double rowSpacing = 10;
constexpr double nameSpacing = 4;
constexpr double pickerWidth = 110;
constexpr double iconButtonSpacing = 2;
constexpr double iconButtonWidth = 18;
constexpr double iconButtonHeight = 24;
constexpr double emptySymbolSize = 40;
constexpr double emptySpacing = 10;

std::string position(std::size_t index) {
    char digits[24];
    std::snprintf(digits, sizeof digits, "%02zu", index + 1);
    return digits;
}

Node header(const std::shared_ptr<SettingsModel>& model) {
    std::vector<Node> lines{text(texts::appsTitle).font(textSize::title, Weight::semibold),
                            text(texts::appsSubtitle).foreground(settingsStyle::secondary())};
    if (model->flag(texts::key::hasUndo))
        lines.push_back(button(texts::undoImport, onModel(model, [](SettingsModel& m) { m.emit(events::undoImport()); })));
    return vstack(std::move(lines), headerSpacing, Alignment::leading).padded(headerPadding).filling(Alignment::leading);
}

Node counters(const std::shared_ptr<SettingsModel>& model, std::size_t pinnedCount) {
    return hstack({label(texts::pinnedCountPrefix + std::to_string(pinnedCount), texts::symbol::pin),
                   label(texts::visibleCountPrefix + std::to_string(model->count(texts::key::visible)), texts::symbol::menubar),
                   label(texts::hiddenCountPrefix + std::to_string(model->count(texts::key::hidden)), texts::symbol::yielded)},
                  counterSpacing)
        .font(textSize::callout)
        .foreground(settingsStyle::secondary())
        .padded({0, headerPadding, counterBottom, headerPadding});
}

Node emptyState(const std::shared_ptr<SettingsModel>& model) {
    return vstack({symbol(texts::symbol::emptyDock).font(emptySymbolSize).foreground(settingsStyle::secondary()),
                   text(texts::emptyTitle).font(textSize::title2, Weight::semibold),
                   text(texts::emptyDescription).foreground(settingsStyle::secondary()),
                   button(texts::importDock, onModel(model, [](SettingsModel& m) { m.emit(events::importDock()); }))
                       .styled(ButtonStyle::prominent)
                       .accessibility(texts::importDockFromEmptyListLabel)},
                  emptySpacing)
        .filling(Alignment::center, true);
}

Node policyPicker(const std::shared_ptr<SettingsModel>& model, const SettingsApp& app) {
    const std::string named = app.name() + texts::policyTipSuffix;
    // The row shows the new policy when the host sends the pinned list back;
    // choosing what the app already has asks for nothing.
    return picker(texts::policyPicker, shownPolicy(app),
                  {{texts::policy::automatic, texts::policyAuto},
                   {texts::policy::always, texts::policyAlways},
                   {texts::policy::running, texts::policyRunning}},
                  onModel(model, [app](SettingsModel& m, const std::string& chosen) {
                      if (chosen != app.policy()) m.emit(events::policy(app.dictionary(), chosen));
                  }))
        .hideLabel()
        .framed(pickerWidth, std::nullopt)
        .help(named)
        .accessibility(named);
}

Node launchButton(const std::shared_ptr<SettingsModel>& model, const SettingsApp& app) {
    auto names = vstack({text(app.name()).font(textSize::body, Weight::medium).lines(1),
                         text(model->status(app)).font(textSize::caption).foreground(settingsStyle::secondary()).lines(1)},
                        nameSpacing, Alignment::leading);
    return button({appIcon(app), std::move(names)}, onModel(model, [app](SettingsModel& m) { m.emit(events::launch(app.dictionary())); }))
        .spaced(rowSpacing)
        .styled(ButtonStyle::borderless)
        .accessibility(texts::launchPrefix + app.name())
        .filling(Alignment::leading);
}

Node row(const std::shared_ptr<SettingsModel>& model, const SettingsApp& app, std::size_t index, std::size_t count) {
    auto buttons = hstack({iconButton(texts::symbol::up, texts::moveUpPrefix + app.name(), index == 0,
                                      onModel(model, [app](SettingsModel& m) { m.emit(events::move(app.dictionary(), -1)); })),
                           iconButton(texts::symbol::down, texts::moveDownPrefix + app.name(), index + 1 == count,
                                      onModel(model, [app](SettingsModel& m) { m.emit(events::move(app.dictionary(), 1)); })),
                           iconButton(texts::symbol::unpin, texts::unpinPrefix + app.name(), false,
                                      onModel(model, [app](SettingsModel& m) { m.emit(events::pin(app.dictionary())); }))},
                          iconButtonSpacing);
    return hstack({text(position(index)).font(textSize::caption).monospaced().foreground(settingsStyle::tertiary())
                       .framed(positionWidth, std::nullopt),
                   launchButton(model, app), policyPicker(model, app), std::move(buttons)},
                  rowSpacing);
}

}  // namespace

Node iconButton(const std::string& symbolName, const std::string& label, bool disabled, std::function<void()> action) {
    return button({symbol(symbolName).framed(iconButtonWidth, iconButtonHeight)}, std::move(action))
        .styled(ButtonStyle::borderless)
        .help(label)
        .accessibility(label)
        .disabledIf(disabled);
}

Node pinnedApps(const std::shared_ptr<SettingsModel>& model) {
    auto pinned = std::make_shared<const SettingsModel::Apps>(model->pinned());
    std::vector<Node> parts{header(model), counters(model, pinned->size()), divider()};
    if (pinned->empty()) {
        parts.push_back(emptyState(model));
    } else {
        parts.push_back(lazyList(pinned->size(), [model = std::weak_ptr<SettingsModel>(model), pinned](std::size_t index) {
            auto strong = model.lock();
            if (!strong || index >= pinned->size()) return Node{};
            return row(strong, (*pinned)[index], index, pinned->size());
        }));
    }
    return vstack(std::move(parts), 0, Alignment::leading).filling(Alignment::leading, true);
}

}  // namespace orvane
