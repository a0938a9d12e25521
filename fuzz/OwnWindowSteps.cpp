// Steps at our own windows as a person uses them: clicks anywhere on the
// hover card, and pressing, picking, stepping and typing in the settings
// window by the labels its controls carry.

#include <optional>
#include <string>
#include <utility>

#include "controller/ControllerSlot.h"
#include "controller/NativeController.h"
#include "desktop/Desktop.h"
#include "fuzz/PointerWords.h"
#include "fuzz/Session.h"
#include "model/Brand.h"
#include "model/EventKinds.h"
#include "platform/ui/Button.h"
#include "platform/ui/Window.h"
#include "preview/WindowPreview.h"
#include "settings/SettingsTexts.h"
#include "strip/HoverCard.h"

namespace orvane::fuzz {

using nlohmann::json;

// A click anywhere on the card, or (a first byte from cardButtonByte up) on
// the centre of one of its buttons. A button that shows and is enabled must
// do its one thing: ask for the permission, ask for a relaunch, or launch
// the card's application.
void Session::cardClickStep() {
    const std::uint8_t first = in_.byte();
    if (first >= cardButtonByte) {
        cardButtonStep(in_.byte());
        return;
    }
    double fx = fractionOf(first), fy = fraction();
    auto card = windowFrame(snapshot_.value("cardWindowID", 0));
    if (!card) return;
    const json& r = *card;
    json reply =
        verb("click " + at(r[0].get<double>() + r[2].get<double>() * fx, r[1].get<double>() + r[3].get<double>() * fy));
    clicked(reply);
}

void Session::cardButtonStep(std::uint8_t which) {
    auto controller = controllerSlot();
    auto preview = controller ? controller->hoverCard().preview() : nullptr;
    if (!preview || !controller->hoverCard().window()) return;
    const std::shared_ptr<platform::ui::Button> buttons[] = {preview->openButton(), preview->permission(),
                                                             preview->reopen(),     preview->retry(),
                                                             preview->previous(),   preview->next()};
    const auto& button = buttons[which % std::size(buttons)];
    bool shows = button && button->window() == controller->hoverCard().window();
    for (auto view = std::static_pointer_cast<platform::ui::View>(button); shows && view; view = view->superview())
        shows = !view->isHidden();
    if (!shows) return;
    const auto window = controller->hoverCard().window();
    const platform::Rect rect = button->convertRectToWindow(button->bounds());
    const double x = window->frame().minX() + rect.midX(), y = window->frame().minY() + rect.midY();
    const bool enabled = button->isEnabled();
    const std::string id = snapshot_.value("card", std::string());
    json reply = verb("click " + at(x, y));
    if (!enabled || reply.value("window", json()) != window->windowNumber()) {
        clicked(reply);
        return;
    }
    if (button == preview->permission()) {
        ledger_.expect(EventKind::screenPermission);
    } else if (button == preview->reopen()) {
        ledger_.expect(EventKind::relaunch);
    } else if (button == preview->openButton()) {
        // The card's application, as the strip lists it.
        for (const auto& entry : snapshot_.value("visible", json::array()))
            if (entry["id"] == id) {
                if (auto finds = launchFinds(entry); finds && !*finds)
                    ledger_.expect(EventLedger::missingApp);
                else
                    ledger_.allow(EventLedger::openFailed);
                lastAction_ = "launch:" + id;
                return;
            }
        clicked(reply);
    }
}

// A person at the settings window: pressing a control by its label (some
// named with an app of the scene), choosing a policy, stepping the icon
// count, typing into the search field, closing or resizing the window. A
// control whose label names one action emits exactly that event; any other
// action may emit one event of the window's kinds.
void Session::settingsWindowStep() {
    namespace t = settingsTexts;
    // Labels of single actions, and the event each emits.
    static const std::pair<std::string, EventKind> named[] = {
        {t::hideWindow, EventKind::hideSettings},
        {t::dismissMessage, EventKind::dismissMessage},
        {t::undoImport, EventKind::undoImport},
        {t::importDockFromToolbarLabel, EventKind::importDock},
        {t::centeredToggle, EventKind::preference},
        {t::showRunningToggle, EventKind::preference},
        {t::autoDedupToggle, EventKind::preference},
        {std::string(t::loginTogglePrefix) + Brand::name, EventKind::login},
        {t::accessibilityRetry, EventKind::accessibilityRetry},
        {t::screenRetry, EventKind::screenRetry},
        {t::relaunch, EventKind::relaunch},
        {t::grantAccessibilityLabel, EventKind::permission},
        {t::grantScreenRecordingLabel, EventKind::screenPermission},
        {t::startKeepHidden, EventKind::toggleDock},
        {t::restoreDock, EventKind::toggleDock},
        {t::recovery, EventKind::recovery},
        {std::string(t::quitPrefix) + Brand::name, EventKind::quit},
    };
    static const std::string pages[] = {t::appsPage,
                                        t::addPage,
                                        t::settingsPage,
                                        t::importDock,
                                        t::addApps,
                                        t::clearSearch,
                                        t::accessibilitySettingsLabel,
                                        t::screenRecordingSettingsLabel};
    static const std::string rowPrefixes[] = {t::launchPrefix, t::moveUpPrefix, t::moveDownPrefix, t::unpinPrefix,
                                              t::pinAppPrefix};
    static const std::string policies[] = {t::policyAuto, t::policyAlways, t::policyRunning};

    const std::uint8_t how = in_.byte() % 8;
    const std::uint8_t pick = in_.byte();
    const std::string name = scene_.apps()[in_.byte() % scene_.apps().size()].name;
    std::optional<EventKind> expected;
    std::string line;
    switch (how) {
    case 0:
    case 1: {
        const auto& [label, kind] = named[pick % std::size(named)];
        line = "press " + label;
        expected = kind;
        break;
    }
    case 2: line = "press " + pages[pick % std::size(pages)]; break;
    case 3: line = "press " + rowPrefixes[pick % std::size(rowPrefixes)] + name; break;
    case 4:
        line = "pick " + (pick & 0x80 ? name + t::policyTipSuffix : std::string(t::policyPicker)) + " " +
               policies[pick % std::size(policies)];
        break;
    case 5: line = std::string("step ") + t::visibleIcons + (pick & 1 ? " up" : " down"); break;
    case 6: line = "type " + in_.text(scene_.names()); break;
    default:
        if (pick % 3 == 0)
            line = "close";
        else if (pick % 3 == 1) {
            const double width = static_cast<double>(in_.integer());
            const double height = static_cast<double>(in_.integer());
            line = "resize " + at(width, height);
        } else
            line = "press " + in_.text(scene_.names());
        break;
    }
    json reply = verb(line);
    if (reply["ok"] != true || !controllerExists()) return;
    if (expected)
        ledger_.expect(*expected);
    else
        ledger_.allowOneSettingsEvent();
}

}  // namespace orvane::fuzz
