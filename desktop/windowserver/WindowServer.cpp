// The window server of the simulated Mac: the scene's screens, status bar,
// appearance, pointer and foreign windows, the scripting verbs that act as
// the user's pointer and menu choices, and the state a test or host reads.

#include "desktop/windowserver/WindowServer.h"

#include <cmath>

#include <nlohmann/json.hpp>

#include "desktop/scene/GeometryJson.h"
#include "desktop/windowserver/MenuServer.h"
#include "desktop/windowserver/Pointer.h"
#include "desktop/windowserver/Screens.h"
#include "desktop/windowserver/StatusBar.h"
#include "desktop/windowserver/SystemAppearance.h"
#include "desktop/windowserver/SystemMenuExtras.h"
#include "desktop/windowserver/WindowList.h"
#include "platform/ui/Appearance.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace desktop {
namespace {

using nlohmann::json;

// Replies to malformed or impossible verbs.
namespace texts {
constexpr const char* pointerUsage = "usage: pointer X Y";
constexpr const char* clickUsage = "usage: click X Y";
constexpr const char* rightClickUsage = "usage: rightclick X Y";
constexpr const char* scrollUsage = "usage: scroll DX DY [precise]";
constexpr const char* menuUsage = "usage: menu";
constexpr const char* chooseUsage = "usage: choose TITLE";
constexpr const char* dismissUsage = "usage: dismiss";
constexpr const char* screensUsage = "usage: screens [{\"frame\":[x,y,w,h],...}, ...]";
constexpr const char* appearanceUsage = "usage: appearance light|dark";
constexpr const char* noMenu = "no menu is open";
constexpr const char* noSuchItem = "the open menu has no item with that title";
constexpr const char* disabledItem = "that menu item is disabled";
}  // namespace texts

// Deep enough for any screen list; deeper input is refused before it can
// exhaust the stack when copied or printed.
constexpr int maximumVerbJsonDepth = 16;

json failure(const char* message) { return {{"ok", false}, {"error", message}}; }

json hitJson(const PointerHit& hit) {
    json reply = {{"ok", true}, {"pointer", pointJson(pointerLocation())}};
    reply["window"] = hit.window ? json(hit.window->number) : json(nullptr);
    if (hit.view)
        reply["view"] = {{"accessibilityLabel", hit.view->accessibilityLabel()}, {"accessibilityRole", hit.view->accessibilityRole()}};
    else
        reply["view"] = nullptr;
    if (!hit.windowButton.empty()) reply["windowButton"] = hit.windowButton;
    return reply;
}

std::optional<platform::Point> pointFromWords(const std::vector<std::string>& words) {
    if (words.size() != 3) return std::nullopt;
    auto x = numberFromWord(words[1]);
    auto y = numberFromWord(words[2]);
    if (!x || !y) return std::nullopt;
    return platform::Point{*x, *y};
}

std::string restOfLine(const std::vector<std::string>& words) {
    std::string rest;
    for (size_t i = 1; i < words.size(); ++i) {
        if (i > 1) rest += ' ';
        rest += words[i];
    }
    return rest;
}

std::optional<json> parseBounded(const std::string& text) {
    try {
        json value = json::parse(text, [](int depth, json::parse_event_t, json&) {
            if (depth > maximumVerbJsonDepth) throw std::out_of_range("too deep");
            return true;
        });
        return value;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// A click while a menu is open closes the menu and goes no further, as menu
// tracking takes the click that ends it.
json click(const std::vector<std::string>& words, MouseButton button) {
    auto point = pointFromWords(words);
    if (!point) return failure(button == MouseButton::left ? texts::clickUsage : texts::rightClickUsage);
    if (menuIsOpen()) {
        PointerHit hit = movePointer(*point);
        dismissMenu();
        json reply = hitJson(hit);
        reply["dismissedMenu"] = true;
        return reply;
    }
    return hitJson(clickPointer(*point, button));
}

json scroll(const std::vector<std::string>& words) {
    if (words.size() != 3 && words.size() != 4) return failure(texts::scrollUsage);
    auto dx = numberFromWord(words[1]);
    auto dy = numberFromWord(words[2]);
    bool precise = words.size() == 4;
    if (!dx || !dy || (precise && words[3] != "precise")) return failure(texts::scrollUsage);
    // Menu tracking takes scroll events while a menu is open.
    if (menuIsOpen()) return hitJson({});
    return hitJson(scrollPointer(*dx, *dy, precise));
}

json choose(const std::vector<std::string>& words) {
    if (words.size() < 2) return failure(texts::chooseUsage);
    switch (chooseMenuItem(restOfLine(words))) {
    case ChooseOutcome::chosen: return {{"ok", true}};
    case ChooseOutcome::noMenu: return failure(texts::noMenu);
    case ChooseOutcome::noSuchItem: return failure(texts::noSuchItem);
    case ChooseOutcome::disabled: return failure(texts::disabledItem);
    }
    return failure(texts::noSuchItem);
}

json replaceScreens(const std::vector<std::string>& words) {
    if (words.size() < 2) return failure(texts::screensUsage);
    auto value = parseBounded(restOfLine(words));
    auto screens = value ? screensFromJson(*value) : std::nullopt;
    if (!screens) return failure(texts::screensUsage);
    setScreens(std::move(*screens));
    layoutStatusItems();
    return {{"ok", true}};
}

json setAppearance(const std::vector<std::string>& words) {
    if (words.size() != 2) return failure(texts::appearanceUsage);
    auto appearance = appearanceFromName(words[1]);
    if (!appearance) return failure(texts::appearanceUsage);
    setSystemAppearance(*appearance);
    for (const auto& window : WindowList::shared().ourWindows())
        if (const auto& content = window->contentView()) content->setNeedsDisplay();
    return {{"ok", true}};
}

std::optional<int> addForeignWindow(int pid, const json& element) {
    if (!element.is_object()) return std::nullopt;
    ForeignWindow window;
    window.ownerPid = pid;
    auto frame = rectFromJson(element.value("frame", json()));
    if (!frame) return std::nullopt;
    window.frame = *frame;
    if (auto n = element.find("number"); n != element.end() && n->is_number_integer()) {
        auto number = n->get<std::int64_t>();
        if (number > 0 && number < (1LL << 30)) window.number = static_cast<int>(number);
    }
    if (auto t = element.find("title"); t != element.end() && t->is_string()) window.title = t->get<std::string>();
    if (auto l = element.find("layer"); l != element.end() && l->is_number_integer()) {
        auto layer = l->get<std::int64_t>();
        if (layer > -(1LL << 30) && layer < (1LL << 30)) window.layer = static_cast<int>(layer);
    }
    if (auto o = element.find("onScreen"); o != element.end() && o->is_boolean()) window.onScreen = o->get<bool>();
    if (auto c = element.find("color"); c != element.end() && c->is_string()) window.color = c->get<std::string>();
    return WindowList::shared().addForeignWindow(std::move(window));
}

void addSceneWindows(const json& scene) {
    auto apps = scene.find("apps");
    if (apps == scene.end() || !apps->is_array()) return;
    for (const auto& app : *apps) {
        if (!app.is_object()) continue;
        auto pid = app.find("pid");
        if (pid == app.end() || !pid->is_number_integer()) continue;
        auto value = pid->get<std::int64_t>();
        if (value <= 0 || value > (1LL << 30)) continue;
        if (auto running = app.find("running"); running != app.end() && running->is_boolean() && !running->get<bool>()) continue;
        int processId = static_cast<int>(value);
        addWindowsOfProcess(processId, app.value("windows", json()));
        if (auto hidden = app.find("hidden"); hidden != app.end() && hidden->is_boolean() && hidden->get<bool>())
            setProcessWindowsHidden(processId, true);
    }
}

json windowJson(const WindowRecord& record) {
    json entry = {{"number", record.number},
                  {"level", record.level},
                  {"frame", rectJson(record.frame)},
                  {"visible", record.visible},
                  {"title", record.title},
                  {"owner", record.ownerPid}};
    if (record.window) {
        entry["styleMask"] = record.window->styleMask();
        entry["collectionBehavior"] = record.window->collectionBehavior();
        entry["key"] = record.window->isKey();
        entry["autosaveName"] = record.window->frameAutosaveName();
        entry["minSize"] = {record.window->minSize().width, record.window->minSize().height};
        entry["titlebarAppearsTransparent"] = record.window->titlebarAppearsTransparent();
        entry["toolbarStyle"] = record.window->toolbarStyle();
        entry["hasToolbar"] = record.window->hasToolbar();
        entry["releasedWhenClosed"] = record.window->isReleasedWhenClosed();
        entry["released"] = record.window->isReleased();
    } else {
        entry["color"] = record.color;
        entry["foreign"] = true;
    }
    return entry;
}

}  // namespace

void resetWindowServer(const json& scene) {
    const json& s = scene.is_object() ? scene : json::object();
    resetMenus();
    WindowList::shared().reset();

    std::vector<platform::ui::Screen> screens = defaultScreens();
    if (auto value = s.find("screens"); value != s.end())
        if (auto parsed = screensFromJson(*value)) screens = std::move(*parsed);
    setScreens(screens);

    resetSystemMenuExtras(s);
    double thickness = defaultStatusBarThickness;
    if (auto value = s.find("statusBarThickness"); value != s.end() && value->is_number()) thickness = value->get<double>();
    resetStatusBar(thickness);

    auto appearance = platform::ui::AppearanceName::aqua;
    if (auto value = s.find("appearance"); value != s.end() && value->is_string())
        appearance = appearanceFromName(value->get<std::string>()).value_or(appearance);
    setSystemAppearance(appearance);

    platform::Point pointer = screens.empty() ? platform::Point{} : platform::Point{screens.front().frame.midX(), screens.front().frame.midY()};
    if (auto value = s.find("pointer"); value != s.end())
        if (auto p = pointFromJson(*value)) pointer = *p;
    resetPointer(pointer);

    addSceneWindows(s);
}

std::optional<json> windowServerVerb(const std::vector<std::string>& words) {
    if (words.empty()) return std::nullopt;
    const std::string& verb = words[0];
    if (verb == "pointer") {
        auto point = pointFromWords(words);
        if (!point) return failure(texts::pointerUsage);
        return hitJson(movePointer(*point));
    }
    if (verb == "click") return click(words, MouseButton::left);
    if (verb == "rightclick") return click(words, MouseButton::right);
    if (verb == "scroll") return scroll(words);
    if (verb == "menu") {
        if (words.size() != 1) return failure(texts::menuUsage);
        return json{{"ok", true}, {"menu", openMenuState()}};
    }
    if (verb == "choose") return choose(words);
    if (verb == "dismiss") {
        if (words.size() != 1) return failure(texts::dismissUsage);
        return json{{"ok", true}, {"dismissed", dismissMenu()}};
    }
    if (verb == "screens") return replaceScreens(words);
    if (verb == "appearance") return setAppearance(words);
    return std::nullopt;
}

json windowServerState() {
    auto windows = json::array();
    for (const auto& record : WindowList::shared().all()) windows.push_back(windowJson(record));
    auto screens = json::array();
    for (const auto& screen : platform::ui::screens()) screens.push_back(screenJson(screen));
    auto key = WindowList::shared().keyWindow();
    return {{"windows", std::move(windows)},
            {"keyWindow", key ? json(key->windowNumber()) : json(nullptr)},
            {"statusBarThickness", platform::ui::systemStatusBar().thickness()},
            {"statusItems", statusItemsState()},
            {"menu", openMenuState()},
            {"pointer", pointJson(pointerLocation())},
            {"screens", std::move(screens)},
            {"appearance", appearanceName(platform::ui::systemAppearance())}};
}

void removeWindowsOfProcess(int pid) { WindowList::shared().removeWindowsOfProcess(pid); }

void addWindowsOfProcess(int pid, const json& windows) {
    if (!windows.is_array()) return;
    for (const auto& element : windows) addForeignWindow(pid, element);
}

std::optional<int> openWindowOfProcess(int pid, const json& window) {
    auto number = addForeignWindow(pid, window);
    if (number) WindowList::shared().orderForeignFront(*number);
    return number;
}

void setProcessWindowsHidden(int pid, bool hidden) { WindowList::shared().setProcessHidden(pid, hidden); }

}  // namespace desktop
