#include "settings/PreferencesPage.h"

#include <algorithm>

#include "model/EventRecords.h"
#include "settings/ModelAction.h"
#include "settings/SettingsStyle.h"
#include "settings/SettingsTexts.h"
#include "model/Brand.h"

namespace orvane {

namespace {

using namespace platform::ui::declarative;
namespace texts = settingsTexts;
namespace key = settingsTexts::key;

constexpr long long fewestIcons = 2;
constexpr long long mostIcons = 12;
constexpr double rowSpacing = 12;
constexpr double detailSpacing = 3;
constexpr double statusSpacing = 8;
constexpr double buttonSpacing = 8;
constexpr double explanationSpacing = 4;
// The host's Dock status is a sentence; anything longer is cut, not laid out.
constexpr int statusLineLimit = 3;

Node caption(std::string content) { return text(std::move(content)).font(textSize::caption); }

Node secondaryCaption(std::string content) { return caption(std::move(content)).foreground(settingsStyle::secondary()); }

Node headed(const char* title, const char* symbolName, std::vector<Node> rows) {
    return section(label(title, symbolName), std::move(rows));
}

Node flagToggle(const std::shared_ptr<SettingsModel>& model, const char* title, const char* flagKey) {
    return toggle(title, model->flag(flagKey), onModel(model, [flagKey](SettingsModel& m, bool on) { m.setFlag(flagKey, on); }));
}

Node actionButton(const std::shared_ptr<SettingsModel>& model, std::string title, nlohmann::json (*event)()) {
    return button(std::move(title), onModel(model, [event](SettingsModel& m) { m.emit(event()); }));
}

// The stepper never leaves 2 ... 12; a value the host sent outside that
// range comes back into it with the first step.
Node iconStepper(const std::shared_ptr<SettingsModel>& model) {
    const long long count = model->maxIcons();
    return stepper(texts::visibleIcons, count, fewestIcons, mostIcons,
                   onModel(model, [](SettingsModel& m, long long wanted) {
                       const long long next = std::clamp(wanted, fewestIcons, mostIcons);
                       if (next != m.maxIcons()) m.setMaxIcons(next);
                   }),
                   std::to_string(count) + texts::iconCountSuffix);
}

Node menuBarSection(const std::shared_ptr<SettingsModel>& model) {
    return headed(texts::menubarSection, texts::symbol::menubar,
                  {vstack({flagToggle(model, texts::centeredToggle, key::centered), caption(texts::centeredExplanation)},
                          explanationSpacing, Alignment::leading),
                   flagToggle(model, texts::showRunningToggle, key::showRunning),
                   flagToggle(model, texts::autoDedupToggle, key::autoDedup), iconStepper(model)});
}

Node permissionsSection(const std::shared_ptr<SettingsModel>& model) {
    return headed(texts::permissionsSection, texts::symbol::window,
                  {permissionRow({texts::accessibility, model->stateFlag(key::trusted), texts::accessibilityDetail,
                                  texts::grantAccessibilityLabel, texts::accessibilitySettingsLabel,
                                  onModel(model, [](SettingsModel& m) { m.emit(events::permission()); })}),
                   permissionRow({texts::screenRecording, model->stateFlag(key::screenCapture), texts::screenRecordingDetail,
                                  texts::grantScreenRecordingLabel, texts::screenRecordingSettingsLabel,
                                  onModel(model, [](SettingsModel& m) { m.emit(events::screenPermission()); })}),
                   hstack({actionButton(model, texts::accessibilityRetry, events::accessibilityRetry),
                           actionButton(model, texts::screenRetry, events::screenRetry),
                           actionButton(model, texts::relaunch, events::relaunch), spacer()},
                          buttonSpacing)});
}

Node dockSection(const std::shared_ptr<SettingsModel>& model) {
    const char* toggleTitle = model->flag(key::dockPersistent) ? texts::restoreDock : texts::startKeepHidden;
    return headed(texts::dockSection, texts::symbol::dock,
                  {labeledContent(texts::keepHidden, text(model->stateString(key::dockStatus).value_or(texts::keepHiddenOff))
                                                         .foreground(settingsStyle::secondary())
                                                         .lines(statusLineLimit)),
                   vstack({secondaryCaption(texts::dockExplanation), secondaryCaption(texts::dockCaveat)},
                          explanationSpacing, Alignment::leading),
                   hstack({actionButton(model, toggleTitle, events::toggleDock), actionButton(model, texts::recovery, events::recovery),
                           spacer()},
                          buttonSpacing)});
}

Node launchSection(const std::shared_ptr<SettingsModel>& model) {
    // The toggle shows what the host last said; turning it only asks.
    return headed(texts::launchSection, texts::symbol::power,
                  {toggle(std::string(texts::loginTogglePrefix) + Brand::name, model->login(),
                          onModel(model, [](SettingsModel& m, bool on) { m.requestLogin(on); })),
                   hstack({text(texts::residentNote).foreground(settingsStyle::secondary()), spacer(),
                           actionButton(model, std::string(texts::quitPrefix) + Brand::name, events::quit)},
                          buttonSpacing)});
}

}  // namespace

Node permissionRow(PermissionRow row) {
    const auto tint = row.granted ? settingsStyle::green() : settingsStyle::secondary();
    auto evidence = (row.granted ? label(texts::granted, texts::symbol::checkmark) : label(texts::notGranted, texts::symbol::notGranted))
                        .foreground(tint)
                        .symbolTint(tint);
    auto go = button(row.granted ? texts::openSystemSettings : texts::grant, std::move(row.action))
                  .accessibility(row.granted ? row.settingsLabel : row.grantLabel);
    return hstack({vstack({text(row.title), secondaryCaption(row.detail)}, detailSpacing, Alignment::leading)
                       .filling(Alignment::leading),
                   hstack({std::move(evidence), std::move(go)}, statusSpacing)},
                  rowSpacing);
}

Node preferences(const std::shared_ptr<SettingsModel>& model) {
    return form({menuBarSection(model), permissionsSection(model), dockSection(model), launchSection(model)});
}

}  // namespace orvane
