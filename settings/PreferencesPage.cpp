#include "settings/PreferencesPage.h"

#include <algorithm>
#include <limits>

#include "settings/ModelAction.h"
#include "settings/Nodes.h"
#include "settings/SettingsStyle.h"
#include "settings/SettingsTexts.h"
#include "strip/Brand.h"

namespace orvane {

namespace {

using namespace nodes;
namespace texts = settingsTexts;
namespace key = settingsTexts::key;
namespace kind = settingsTexts::kind;

constexpr long long fewestIcons = 2;
constexpr long long mostIcons = 12;
constexpr double rowSpacing = 12;
constexpr double detailSpacing = 3;
constexpr double statusSpacing = 8;
constexpr double buttonSpacing = 8;
constexpr double explanationSpacing = 4;

Node caption(std::string content) { return text(std::move(content)).font(textSize::caption); }

Node secondaryCaption(std::string content) { return caption(std::move(content)).foreground(settingsStyle::secondary()); }

Node section(const char* title, const char* symbolName, std::vector<Node> rows) {
    Node node = make(Kind::section);
    node.header.push_back(label(title, symbolName));
    node.children = std::move(rows);
    return node;
}

Node flagToggle(const std::shared_ptr<SettingsModel>& model, const char* title, const char* flagKey) {
    return toggle(title, model->flag(flagKey),
                  onModel(model, [flagKey](SettingsModel& m, bool on) { m.setFlag(flagKey, on); }));
}

Node actionButton(const std::shared_ptr<SettingsModel>& model, std::string title, const char* eventKind) {
    return button(std::move(title), onModel(model, [eventKind](SettingsModel& m) { m.action(eventKind); }));
}

// The stepper never leaves 2 ... 12; a value the host sent outside that
// range comes back into it with the first step.
Node iconStepper(const std::shared_ptr<SettingsModel>& model) {
    const long long count = model->maxIcons();
    Node stepper = make(Kind::stepper);
    stepper.text = texts::visibleIcons;
    stepper.labelHidden = true;
    stepper.value = count;
    stepper.minimum = fewestIcons;
    stepper.maximum = mostIcons;
    stepper.step = 1;
    stepper.stepped = onModel(model, [](SettingsModel& m, long long wanted) {
        const long long next = std::clamp(wanted, fewestIcons, mostIcons);
        if (next != m.maxIcons()) m.setMaxIcons(next);
    });

    Node row = make(Kind::labeledContent);
    row.text = texts::visibleIcons;
    row.children.push_back(hstack(Alignment::center, buttonSpacing, text(std::to_string(count) + texts::iconCountSuffix),
                                  std::move(stepper)));
    return row;
}

Node menuBarSection(const std::shared_ptr<SettingsModel>& model) {
    std::vector<Node> rows;
    rows.push_back(vstack(Alignment::leading, explanationSpacing,
                          flagToggle(model, texts::centeredToggle, key::centered),
                          caption(texts::centeredExplanation)));
    rows.push_back(flagToggle(model, texts::showRunningToggle, key::showRunning));
    rows.push_back(flagToggle(model, texts::autoDedupToggle, key::autoDedup));
    rows.push_back(iconStepper(model));
    return section(texts::menubarSection, texts::symbol::menubar, std::move(rows));
}

Node permissionsSection(const std::shared_ptr<SettingsModel>& model) {
    std::vector<Node> rows;
    rows.push_back(permissionRow({texts::accessibility, model->stateFlag(key::trusted), texts::accessibilityDetail,
                                  texts::grantAccessibilityLabel, texts::accessibilitySettingsLabel,
                                  onModel(model, [](SettingsModel& m) { m.action(kind::permission); })}));
    rows.push_back(permissionRow({texts::screenRecording, model->stateFlag(key::screenCapture),
                                  texts::screenRecordingDetail, texts::grantScreenRecordingLabel,
                                  texts::screenRecordingSettingsLabel,
                                  onModel(model, [](SettingsModel& m) { m.action(kind::screenPermission); })}));
    rows.push_back(hstack(Alignment::center, buttonSpacing,
                          actionButton(model, texts::accessibilityRetry, kind::accessibilityRetry),
                          actionButton(model, texts::screenRetry, kind::screenRetry),
                          actionButton(model, texts::relaunch, kind::relaunch)));
    return section(texts::permissionsSection, texts::symbol::window, std::move(rows));
}

Node dockSection(const std::shared_ptr<SettingsModel>& model) {
    std::vector<Node> rows;
    Node status = make(Kind::labeledContent);
    status.text = texts::keepHidden;
    status.children.push_back(text(model->stateString(key::dockStatus).value_or(texts::keepHiddenOff))
                                  .foreground(settingsStyle::secondary()));
    rows.push_back(std::move(status));
    rows.push_back(vstack(Alignment::leading, explanationSpacing, secondaryCaption(texts::dockExplanation),
                          secondaryCaption(texts::dockCaveat)));
    rows.push_back(hstack(Alignment::center, buttonSpacing,
                          actionButton(model, model->flag(key::dockPersistent) ? texts::restoreDock : texts::startKeepHidden,
                                       kind::toggleDock),
                          actionButton(model, texts::recovery, kind::recovery)));
    return section(texts::dockSection, texts::symbol::dock, std::move(rows));
}

Node launchSection(const std::shared_ptr<SettingsModel>& model) {
    std::vector<Node> rows;
    // The toggle shows what the host last said; turning it only asks.
    rows.push_back(toggle(std::string(texts::loginTogglePrefix) + Brand::name, model->login(),
                          onModel(model, [](SettingsModel& m, bool on) { m.requestLogin(on); })));
    rows.push_back(hstack(Alignment::center, buttonSpacing, text(texts::residentNote).foreground(settingsStyle::secondary()),
                          spacer(), actionButton(model, std::string(texts::quitPrefix) + Brand::name, kind::quit)));
    return section(texts::launchSection, texts::symbol::power, std::move(rows));
}

}  // namespace

Node permissionRow(PermissionRow row) {
    auto detail = secondaryCaption(row.detail);
    auto words = vstack(Alignment::leading, detailSpacing, text(row.title), std::move(detail));
    words.frame = {.maxWidth = FrameSpec::infinity, .alignment = Alignment::leading};

    auto evidence = row.granted ? label(texts::granted, texts::symbol::checkmark) : label(texts::notGranted, texts::symbol::notGranted);
    evidence.color = row.granted ? settingsStyle::green() : settingsStyle::secondary();
    evidence.symbolColor = evidence.color;
    auto go = button(row.granted ? texts::openSystemSettings : texts::grant, std::move(row.action))
                  .accessibility(row.granted ? row.settingsLabel : row.grantLabel);
    return hstack(Alignment::center, rowSpacing, std::move(words),
                  hstack(Alignment::center, statusSpacing, std::move(evidence), std::move(go)));
}

Node preferences(const std::shared_ptr<SettingsModel>& model) {
    Node form = make(Kind::form);
    form.children.push_back(menuBarSection(model));
    form.children.push_back(permissionsSection(model));
    form.children.push_back(dockSection(model));
    form.children.push_back(launchSection(model));
    return form;
}

}  // namespace orvane
