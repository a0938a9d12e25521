#include "tests/settings/SettingsFixture.h"

#include <functional>

#include "controller/ControllerSlot.h"

namespace orvane::testing {

namespace declarative = platform::ui::declarative;

void SettingsTest::startLibrary() {
    load(scene(json::array({app("com.apple.Safari", "Safari", 501), app("com.apple.mail", "Mail", 502, false)})));
    send("start");
    controller = controllerSlot();
    ASSERT_TRUE(controller);
}

platform::ui::HostingView& SettingsTest::hosting() const {
    const auto& view = settings().hostingView();
    EXPECT_TRUE(view) << "the settings window was never shown";
    return *view;
}

json SettingsTest::send(const std::string& command, const json& args) {
    auto reply = test::data(command, args);
    desktop::advance(0);
    return reply;
}

void SettingsTest::showTab(const std::string& tab) { send("settingsTab", {{"tab", tab}}); }

std::vector<std::string> SettingsTest::eventKinds() {
    std::vector<std::string> kinds;
    for (const auto& event : events()) kinds.push_back(event.value("kind", std::string("?")));
    return kinds;
}

void SettingsTest::press(const std::string& label) { verb("press " + label); }

void SettingsTest::pick(const std::string& label, const std::string& option) { verb("pick " + label + " " + option); }

void SettingsTest::step(const std::string& label, int direction) { verb("step " + label + (direction > 0 ? " up" : " down")); }

void SettingsTest::type(const std::string& text) { verb("type " + text); }

std::optional<declarative::Control> SettingsTest::control(const std::string& label) {
    for (auto& each : hosting().controls())
        if (each.accessibilityLabel == label || each.text == label) return each;
    return std::nullopt;
}

bool SettingsTest::shows(const std::string& text) {
    std::function<bool(const declarative::Node&)> visit = [&](const declarative::Node& node) {
        if (node.text == text || node.title == text || node.detail == text) return true;
        for (const auto* group : {&node.children, &node.header, &node.toolbar})
            for (const auto& child : *group)
                if (visit(child)) return true;
        for (std::size_t row = 0; node.rowAt && row < node.rowCount; ++row)
            if (visit(node.rowAt(row))) return true;
        return false;
    };
    return visit(hosting().root());
}

json SettingsTest::pinnedApp(const std::string& id, const std::string& name, const std::string& policy) {
    return {{"id", id}, {"name", name}, {"path", "/Applications/" + name + ".app"}, {"policy", policy}};
}

json SettingsTest::fullUpdate(json pinned) {
    return {{"preferences", {{"pinned", std::move(pinned)}, {"maxIcons", 5}}},
            {"state", {{"trusted", true}, {"visible", json::array({"a", "b"})}, {"hidden", json::array({"c"})}}}};
}

}  // namespace orvane::testing
