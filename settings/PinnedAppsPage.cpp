#include "settings/PinnedAppsPage.h"

#include <cstdio>

#include "settings/AppIcon.h"
#include "settings/ModelAction.h"
#include "settings/Nodes.h"
#include "settings/SettingsStyle.h"
#include "settings/SettingsTexts.h"

namespace orvane {

namespace {

using namespace nodes;
namespace texts = settingsTexts;
namespace kind = settingsTexts::kind;

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
    auto column = vstack(Alignment::leading, headerSpacing,
                         text(texts::appsTitle).font(textSize::title, platform::ui::Font::Weight::semibold),
                         text(texts::appsSubtitle).foreground(settingsStyle::secondary()));
    if (model->flag(texts::key::hasUndo))
        column.children.push_back(
            button(texts::undoImport, onModel(model, [](SettingsModel& m) { m.action(kind::undoImport); })));
    return std::move(column)
        .padded(headerPadding)
        .framed({.maxWidth = FrameSpec::infinity, .alignment = Alignment::leading});
}

Node counter(const char* prefix, long long number, const char* symbolName) {
    return label(prefix + std::to_string(number), symbolName)
        .font(textSize::callout)
        .foreground(settingsStyle::secondary());
}

Node counters(const std::shared_ptr<SettingsModel>& model, std::size_t pinnedCount) {
    return hstack(Alignment::center, counterSpacing,
                  counter(texts::pinnedCountPrefix, static_cast<long long>(pinnedCount), texts::symbol::pin),
                  counter(texts::visibleCountPrefix, model->count(texts::key::visible), texts::symbol::menubar),
                  counter(texts::hiddenCountPrefix, model->count(texts::key::hidden), texts::symbol::yielded))
        .padded({0, headerPadding, counterBottom, headerPadding});
}

Node emptyState(const std::shared_ptr<SettingsModel>& model) {
    auto glyph = symbol(texts::symbol::emptyDock).foreground(settingsStyle::secondary());
    glyph.fontSize = emptySymbolSize;
    auto importButton = button(texts::importDock, onModel(model, [](SettingsModel& m) { m.action(kind::importDock); }))
                            .styled(ButtonStyle::prominent)
                            .accessibility(texts::importDockFromEmptyListLabel);
    return vstack(Alignment::center, emptySpacing, std::move(glyph),
                  text(texts::emptyTitle).font(textSize::title2, platform::ui::Font::Weight::semibold),
                  text(texts::emptyDescription).foreground(settingsStyle::secondary()), std::move(importButton))
        .framed({.maxWidth = FrameSpec::infinity, .maxHeight = FrameSpec::infinity});
}

Node policyPicker(const std::shared_ptr<SettingsModel>& model, const SettingsApp& app) {
    Node picker = make(Kind::picker);
    picker.text = texts::policyPicker;
    picker.labelHidden = true;
    picker.options = {{texts::policy::automatic, texts::policyAuto},
                      {texts::policy::always, texts::policyAlways},
                      {texts::policy::running, texts::policyRunning}};
    picker.selection = shownPolicy(app);
    picker.frame.width = pickerWidth;
    picker.toolTip = app.name() + texts::policyTipSuffix;
    picker.accessibilityLabel = picker.toolTip;
    // The row shows the new policy when the host sends the pinned list back;
    // choosing what the app already has asks for nothing.
    picker.changed = onModel(model, [app](SettingsModel& m, const std::string& chosen) {
        if (chosen != app.policy()) m.appAction(kind::policy, app, chosen);
    });
    return picker;
}

Node launchButton(const std::shared_ptr<SettingsModel>& model, const SettingsApp& app) {
    auto name = text(app.name()).font(textSize::body, platform::ui::Font::Weight::medium);
    name.lineLimit = 1;
    auto status = text(model->status(app)).font(textSize::caption).foreground(settingsStyle::secondary());
    status.lineLimit = 1;
    Node launch = make(Kind::button);
    launch.buttonStyle = ButtonStyle::borderless;
    launch.children.push_back(hstack(Alignment::center, rowSpacing, appIcon(app),
                                     vstack(Alignment::leading, nameSpacing, std::move(name), std::move(status))));
    launch.accessibilityLabel = texts::launchPrefix + app.name();
    launch.action = onModel(model, [app](SettingsModel& m) { m.appAction(kind::launch, app); });
    launch.frame = {.maxWidth = FrameSpec::infinity, .alignment = Alignment::leading};
    return launch;
}

Node row(const std::shared_ptr<SettingsModel>& model, const SettingsApp& app, std::size_t index, std::size_t count) {
    auto number = text(position(index)).font(textSize::caption).foreground(settingsStyle::tertiary());
    number.monospacedDigits = true;
    number.frame.width = positionWidth;

    auto buttons = hstack(
        Alignment::center, iconButtonSpacing,
        iconButton(texts::symbol::up, texts::moveUpPrefix + app.name(), index == 0,
                   onModel(model, [app](SettingsModel& m) { m.appAction(kind::move, app, -1LL); })),
        iconButton(texts::symbol::down, texts::moveDownPrefix + app.name(), index + 1 == count,
                   onModel(model, [app](SettingsModel& m) { m.appAction(kind::move, app, 1LL); })),
        iconButton(texts::symbol::unpin, texts::unpinPrefix + app.name(), false,
                   onModel(model, [app](SettingsModel& m) { m.appAction(kind::pin, app); })));

    return hstack(Alignment::center, rowSpacing, std::move(number), launchButton(model, app), policyPicker(model, app),
                  std::move(buttons));
}

}  // namespace

Node iconButton(const std::string& symbolName, const std::string& label, bool disabled, std::function<void()> action) {
    return symbolButton(symbolName, label, std::move(action))
        .styled(ButtonStyle::borderless)
        .help(label)
        .disabledIf(disabled)
        .framed({.width = iconButtonWidth, .height = iconButtonHeight});
}

Node pinnedApps(const std::shared_ptr<SettingsModel>& model) {
    const auto pinned = model->pinned();
    auto page = vstack(Alignment::leading, 0, header(model), counters(model, pinned.size()), divider());
    if (pinned.empty()) {
        page.children.push_back(emptyState(model));
    } else {
        Node list = make(Kind::list);
        list.alternatingRows = true;
        list.children.reserve(pinned.size());
        for (std::size_t i = 0; i < pinned.size(); ++i) list.children.push_back(row(model, pinned[i], i, pinned.size()));
        page.children.push_back(std::move(list));
    }
    return page;
}

}  // namespace orvane
