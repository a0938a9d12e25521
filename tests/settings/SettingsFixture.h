#pragma once

#include <memory>
#include <string>

#include "platform/ui/Declarative.h"
#include "settings/SettingsController.h"
#include "settings/SettingsModel.h"
#include "tests/controller/ControllerFixture.h"
#include "tests/support/Call.h"

namespace orvane::testing {

// The settings window on the simulated Mac, driven through orvane_call and
// through its own controls as a person would use them.
class SettingsTest : public ControllerTest {
protected:
    // Loads a scene with a few apps and starts a controller through the bridge.
    void startLibrary();
    SettingsController& settings() const { return controller->settings(); }
    SettingsModel& model() const { return controller->settings().model(); }
    platform::ui::HostingView& hosting() const;

    // Commands, each of which must succeed.
    json send(const std::string& command, const json& args = json::object());
    void update(const json& values) { send("settingsUpdate", values); }
    void showTab(const std::string& tab);
    json events() { return send("events"); }
    // The kinds of the drained events, in order.
    std::vector<std::string> eventKinds();

    // Uses a control of the window by its text or accessibility label, as a
    // person would, through the simulated Mac's verbs; fails the test when it cannot.
    void press(const std::string& label);
    void pick(const std::string& label, const std::string& option);
    void step(const std::string& label, int direction);
    void type(const std::string& text);
    // The control so named among those in view, if any.
    std::optional<platform::ui::declarative::Control> control(const std::string& label);
    // Whether any node of the current tree shows this text (rows of lazy lists built).
    bool shows(const std::string& text);

    static json pinnedApp(const std::string& id, const std::string& name, const std::string& policy = "auto");
    // A settingsUpdate with these pinned apps, trusted accessibility and a few counters.
    static json fullUpdate(json pinned);
};

}  // namespace orvane::testing
