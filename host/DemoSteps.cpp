#include "host/DemoSteps.h"

#include "host/Demo.h"
#include "host/DemoRegions.h"

namespace host {

namespace {

using nlohmann::json;

StepLines fixed(std::vector<std::string> lines) {
    return [lines = std::move(lines)](const Library&) { return lines; };
}

// The names are the ones the installed catalogue gives on a Simplified
// Chinese Mac, so the pinned page and the add page agree.
std::string pinnedApps() {
    return R"([)"
           R"({"id":"com.apple.finder","name":"Finder","path":"/System/Library/CoreServices/Finder.app","policy":"always"},)"
           R"({"id":"com.apple.Safari","name":"Safari","path":"/Applications/Safari.app","policy":"auto"},)"
           R"({"id":"com.apple.mail","name":"邮件","path":"/System/Applications/Mail.app","policy":"auto"},)"
           R"({"id":"com.apple.Notes","name":"备忘录","path":"/System/Applications/Notes.app","policy":"auto"},)"
           R"({"id":"com.apple.Terminal","name":"终端","path":"/System/Applications/Utilities/Terminal.app","policy":"running"},)"
           R"({"id":"com.getdropbox.dropbox","name":"Dropbox","path":"/Applications/Dropbox.app","policy":"auto"},)"
           R"({"id":"com.tinyspeck.slackmacgap","name":"Slack","path":"/Applications/Slack.app","policy":"auto"})"
           R"(])";
}

std::string configureLine() {
    return R"({"command":"configure","args":{"maxIcons":5,"showRunning":true,"autoDedup":true,"pinned":)" +
           pinnedApps() + "}}";
}

// What a host would push into its settings window: its preferences, the
// library's state, and the catalogue it read through the library.
std::string settingsUpdateLine(const Library& library, const std::string& message) {
    auto snapshot = library.data(R"({"command":"snapshot"})");
    auto installed = library.data(R"({"command":"installed"})");
    json state = json::object();
    for (const char* key : {"trusted", "screenCapture", "detections", "visible", "hidden", "dockStatus"})
        if (snapshot.is_object() && snapshot.contains(key)) state[key] = snapshot[key];
    json update = {
        {"preferences", {{"pinned", json::parse(pinnedApps())}, {"maxIcons", 5}, {"centered", false},
                         {"showRunning", true}, {"autoDedup", true}, {"dockPersistent", false}, {"hasUndo", true}}},
        {"state", state},
        {"installed", installed.is_array() ? installed : json::array()},
        {"message", message},
        {"login", true},
    };
    return json{{"command", "settingsUpdate"}, {"args", update}}.dump();
}

StepCloseUps stripCloseUp(std::string caption) {
    return [caption = std::move(caption)](const StepScene& scene) {
        return std::vector<CloseUp>{{caption, menuBarRegion(scene), ""}};
    };
}

StepCloseUps cardCloseUps(std::string caption) {
    return [caption = std::move(caption)](const StepScene& scene) {
        return std::vector<CloseUp>{
            {caption, cardRegion(scene), ""},
            {"The card as the library pictures it itself, at the screen's scale.", std::nullopt, "card.png"}};
    };
}

StepCloseUps menuCloseUp(std::string caption) {
    return [caption = std::move(caption)](const StepScene& scene) {
        return std::vector<CloseUp>{{caption, menuRegion(scene), ""}};
    };
}

StepCloseUps settingsCloseUp(std::string caption) {
    return [caption = std::move(caption)](const StepScene&) {
        return std::vector<CloseUp>{{caption, std::nullopt, "settings.png"}};
    };
}

std::vector<std::string> settingsLines(const Library& library) {
    return {"!dismiss", settingsUpdateLine(library, "已导入 Dock 中的 7 个应用。"),
            R"({"command":"settingsTab","args":{"tab":"apps"}})", R"({"command":"settingsShow"})", "!advance 0.5"};
}

const char* const hoverNotes[] = {"@pointer 备忘录", "!advance 1"};
const char* const rightClickSafari[] = {"!pointer 700 500", "!advance 0.5", "@rightclick Safari"};

std::vector<std::string> listOf(std::initializer_list<std::string> first, const char* const* more, std::size_t count) {
    std::vector<std::string> lines(first);
    lines.insert(lines.end(), more, more + count);
    return lines;
}

}  // namespace

std::string demoConfigureLine() { return configureLine(); }
std::string demoSettingsUpdateLine(const Library& library) { return settingsUpdateLine(library, ""); }

std::vector<Step> demoSteps() {
    return {
        {"启动与配置",
         "The host starts the library and configures seven pinned apps for five slots: the strip shows arrows "
         "and the mark.",
         fixed({R"({"command":"start"})", configureLine(), "!advance 0.5"}),
         stripCloseUp("Five slots for seven pinned apps: Finder, Safari, 邮件, 备忘录 and Dropbox between the arrows, "
                      "the mark at the right end. Right of the strip: Dropbox's own item (the framed D), Control "
                      "Centre and the clock.")},
        {"原生入口让位",
         "Accessibility is granted; the scan finds Dropbox's own menu-bar item and its \"auto\" entry yields its "
         "place on the strip.",
         fixed({"!grant accessibility", R"({"command":"permission"})", "!wait 0.5", "!advance 0.5"}),
         stripCloseUp("The last icon before the framed D is now Slack: the D is Dropbox's own item, so the strip "
                      "gives up Dropbox's slot and the next pinned app moves up.")},
        {"滚动", "One step to the right: the strip cross-fades to the next icons.",
         fixed({R"({"command":"scroll","args":{"step":1}})", "!advance 0.5"}),
         stripCloseUp("One step on: Finder has scrolled out at the left, a running app that is not pinned (Visual "
                      "Studio Code) comes in at the right, and the right arrow greys out at the end.")},
        {"悬停卡片",
         "With screen recording granted, the pointer rests on 备忘录 (Notes): after 0.45 s the card opens under "
         "the icon with a live picture of its frontmost window.",
         fixed(listOf({"!grant screen", R"({"command":"scroll","args":{"step":-1}})", "!advance 0.5"}, hoverNotes,
                      std::size(hoverNotes))),
         cardCloseUps("The card hangs under 备忘录's icon: its name and state, a live picture of its frontmost "
                      "window, and 1/2 with the step buttons for its second window.")},
        {"切换窗口", "The card steps to Notes' second window, a portrait one, and slides it in.",
         fixed({R"({"command":"previewStep","args":{"step":1}})", "!advance 1"}),
         cardCloseUps("The second window, 购物清单, is portrait: the picture keeps its proportions in the same "
                      "viewport; the footer says 2/2 and the right step button greys out.")},
        {"右键菜单", "The pointer leaves the card and a right click on Safari opens its context menu.",
         fixed(std::vector<std::string>(std::begin(rightClickSafari), std::end(rightClickSafari))),
         menuCloseUp("Safari's context menu opens at the pointer, under its icon: open or switch, unpin, reveal "
                     "in Finder.")},
        {"设置 · 应用栏", "The host pushes its settings and opens the settings window on the pinned-apps page.",
         settingsLines,
         settingsCloseUp("The pinned apps in their order, each with its policy in a pop-up button; the "
                         "message the host pushed sits above them.")},
        {"设置 · 入口策略", "A click on Finder's policy pop-up button opens its options.",
         fixed({"!press 入口策略", "!advance 0.2"}),
         [](const StepScene& scene) {
             return std::vector<CloseUp>{
                 {"The menu opens with the current option, 始终显示, checked and lying over the button, its title "
                  "where the button showed it; the window's rows show through the menu only blurred.",
                  popUpRegion(scene), ""}};
         }},
        {"设置 · 添加应用", "The catalogue of installed applications, as the add page lists it.",
         fixed({"!dismiss", R"({"command":"settingsTab","args":{"tab":"add"}})", "!advance 0.5"}),
         settingsCloseUp("Installed applications under their localized names, the same as the pinned page: "
                         "Finder, 邮件, 备忘录; the pinned ones say 已固定.")},
        {"设置 · 偏好设置", "The preferences page: strip toggles, permissions, the Dock and login.",
         fixed({R"({"command":"settingsTab","args":{"tab":"settings"}})", "!advance 0.5"}),
         settingsCloseUp("Both permissions show 已允许; the last section, 启动与退出, starts at the window's "
                         "bottom edge: the page scrolls.")},
        {"验收自预览",
         "In acceptance mode the library opens its tall test window and shows the card of the host itself: the "
         "portrait window at the tallest viewport.",
         fixed({R"({"command":"settingsHide"})", R"({"command":"stop"})", R"({"command":"start","args":{"qaMode":true}})",
                configureLine(), "!wait 0.5", "!advance 0.5", R"({"command":"qaSelfPreview"})", "!advance 1"}),
         cardCloseUps("The host's own card: 岚舟 as the current app, its tall test window at the card's tallest "
                      "viewport, 1/1.")},
        {"深色 · 应用栏",
         "The system switches to dark appearance and the host starts the library again with the same "
         "configuration.",
         fixed({R"({"command":"stop"})", "!appearance dark", R"({"command":"start"})", configureLine(), "!wait 0.5",
                "!advance 0.5"}),
         stripCloseUp("In dark appearance the icons keep their colours; the arrows, the mark, Dropbox's item and "
                      "the clock turn light.")},
        {"深色 · 悬停卡片", "The pointer rests on 备忘录 again.",
         fixed(std::vector<std::string>(std::begin(hoverNotes), std::end(hoverNotes))),
         cardCloseUps("The card on a dark material, its title in light text.")},
        {"深色 · 右键菜单", "A right click on Safari in dark appearance.",
         fixed(std::vector<std::string>(std::begin(rightClickSafari), std::end(rightClickSafari))),
         menuCloseUp("The context menu in dark appearance.")},
        {"深色 · 设置 · 应用栏", "The settings window in dark appearance, on the pinned-apps page.", settingsLines,
         settingsCloseUp("The pinned-apps page in dark appearance.")},
        {"深色 · 设置 · 添加应用", "The add page in dark appearance.",
         fixed({R"({"command":"settingsTab","args":{"tab":"add"}})", "!advance 0.5"}),
         settingsCloseUp("The catalogue in dark appearance.")},
        {"深色 · 设置 · 偏好设置", "The preferences page in dark appearance.",
         fixed({R"({"command":"settingsTab","args":{"tab":"settings"}})", "!advance 0.5"}),
         settingsCloseUp("The preferences page in dark appearance.")},
    };
}

}  // namespace host
