// The displays of the simulated Mac, standing in for NSScreen: their frames,
// the visible frame left by the menu bar and the Dock, the camera housing's
// inset and the backing scale. The main screen is the key window's.

#include "desktop/windowserver/Screens.h"

#include <cmath>

#include <nlohmann/json.hpp>

#include "desktop/scene/GeometryJson.h"
#include "desktop/windowserver/WindowList.h"
#include "platform/ui/Window.h"

namespace desktop {
namespace {

constexpr double defaultScale = 2;

std::vector<platform::ui::Screen>& current() {
    static std::vector<platform::ui::Screen> screens = defaultScreens();
    return screens;
}

}  // namespace

std::vector<platform::ui::Screen> defaultScreens() {
    platform::ui::Screen screen;
    screen.frame = {0, 0, 1512, 982};
    screen.visibleFrame = {0, 0, 1512, 945};
    screen.backingScale = defaultScale;
    return {screen};
}

void setScreens(std::vector<platform::ui::Screen> screens) { current() = std::move(screens); }

std::optional<platform::ui::Screen> screenFromJson(const nlohmann::json& value) {
    if (!value.is_object()) return std::nullopt;
    platform::ui::Screen screen;
    auto frame = value.find("frame");
    if (frame == value.end()) return std::nullopt;
    auto rect = rectFromJson(*frame);
    if (!rect) return std::nullopt;
    screen.frame = *rect;
    screen.visibleFrame = *rect;
    if (auto visible = value.find("visibleFrame"); visible != value.end()) {
        auto r = rectFromJson(*visible);
        if (!r) return std::nullopt;
        screen.visibleFrame = *r;
    }
    if (auto inset = value.find("safeAreaTop"); inset != value.end()) {
        if (!inset->is_number() || !std::isfinite(inset->get<double>()) || inset->get<double>() < 0) return std::nullopt;
        screen.safeAreaTop = inset->get<double>();
    }
    screen.backingScale = defaultScale;
    if (auto scale = value.find("backingScale"); scale != value.end()) {
        if (!scale->is_number()) return std::nullopt;
        double s = scale->get<double>();
        if (std::isfinite(s) && s > 0) screen.backingScale = s;
    }
    return screen;
}

std::optional<std::vector<platform::ui::Screen>> screensFromJson(const nlohmann::json& value) {
    if (!value.is_array()) return std::nullopt;
    std::vector<platform::ui::Screen> screens;
    for (const auto& element : value) {
        auto screen = screenFromJson(element);
        if (!screen) return std::nullopt;
        screens.push_back(*screen);
    }
    return screens;
}

nlohmann::json screenJson(const platform::ui::Screen& screen) {
    return {{"frame", rectJson(screen.frame)},
            {"visibleFrame", rectJson(screen.visibleFrame)},
            {"safeAreaTop", screen.safeAreaTop},
            {"backingScale", screen.backingScale}};
}

}  // namespace desktop

namespace platform::ui {

std::vector<Screen> screens() { return desktop::current(); }

std::optional<Screen> mainScreen() {
    if (auto key = desktop::WindowList::shared().keyWindow())
        if (auto screen = key->screen()) return screen;
    const auto& all = desktop::current();
    if (all.empty()) return std::nullopt;
    return all.front();
}

}  // namespace platform::ui
