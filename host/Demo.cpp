#include "host/Demo.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "desktop/files/Disk.h"
#include "host/DemoPage.h"
#include "host/Session.h"

namespace host {

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// Where the library saves its pictures on the simulated Mac; each step gets a folder below it.
constexpr const char* captureFolder = "/tmp/orvane-demo";
constexpr const char* surfaceNames[] = {"strip.png", "card.png", "settings.png"};

// What a step sends. Most lines are fixed; some depend on what the library
// answered before (where an icon sits, what the catalogue holds).
using Lines = std::function<std::vector<std::string>(const Library&)>;

struct Step {
    std::string title;
    std::string note;
    Lines lines;
};

Lines fixed(std::vector<std::string> lines) {
    return [lines = std::move(lines)](const Library&) { return lines; };
}

json dataOf(const Library& library, const std::string& request) {
    try {
        auto reply = json::parse(library.call(request));
        return reply.value("data", json());
    } catch (const json::exception&) {
        return json();
    }
}

// The point a person would move the pointer to over the strip button whose
// label starts with prefix, in screen coordinates; nothing when none shows it.
std::optional<std::string> pointOverButton(const Library& library, const std::string& prefix) {
    const auto snapshot = dataOf(library, R"({"command":"snapshot"})");
    if (!snapshot.is_object() || !snapshot.contains("frame") || !snapshot.contains("controls")) return std::nullopt;
    const auto& frame = snapshot["frame"];
    for (const auto& control : snapshot["controls"]) {
        const auto label = control.value("label", std::string());
        if (label.rfind(prefix, 0) != 0) continue;
        const double x = frame.value("x", 0.0) + control.value("x", 0.0) + control.value("width", 0.0) / 2;
        const double y = frame.value("y", 0.0) + frame.value("height", 0.0) / 2;
        std::ostringstream point;
        point << x << " " << y;
        return point.str();
    }
    return std::nullopt;
}

std::string pinnedApps() {
    return R"([)"
           R"({"id":"com.apple.finder","name":"访达","path":"/System/Library/CoreServices/Finder.app","policy":"always"},)"
           R"({"id":"com.apple.Safari","name":"Safari","path":"/Applications/Safari.app","policy":"auto"},)"
           R"({"id":"com.apple.mail","name":"邮件","path":"/System/Applications/Mail.app","policy":"auto"},)"
           R"({"id":"com.apple.Notes","name":"备忘录","path":"/System/Applications/Notes.app","policy":"auto"},)"
           R"({"id":"com.apple.Terminal","name":"终端","path":"/System/Applications/Utilities/Terminal.app","policy":"running"},)"
           R"({"id":"com.getdropbox.dropbox","name":"Dropbox","path":"/Applications/Dropbox.app","policy":"auto"},)"
           R"({"id":"com.tinyspeck.slackmacgap","name":"Slack","path":"/Applications/Slack.app","policy":"auto"})"
           R"(])";
}

std::string configureLine(bool qa) {
    (void)qa;
    return R"({"command":"configure","args":{"maxIcons":5,"showRunning":true,"autoDedup":true,"pinned":)" +
           pinnedApps() + "}}";
}

// What a host would push into its settings window: its preferences, the
// library's state, and the catalogue it read through the library.
std::string settingsUpdateLine(const Library& library, const std::string& message) {
    auto snapshot = dataOf(library, R"({"command":"snapshot"})");
    auto installed = dataOf(library, R"({"command":"installed"})");
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

std::vector<Step> steps() {
    return {
        {"启动与配置",
         "The host starts the library and configures seven pinned apps for five slots: the strip shows arrows "
         "and the mark.",
         fixed({R"({"command":"start"})", configureLine(false), "!advance 0.5"})},
        {"原生入口让位",
         "Accessibility is granted; the scan finds Dropbox's own menu-bar item and its \"auto\" entry yields its "
         "place on the strip.",
         fixed({"!grant accessibility", R"({"command":"permission"})", "!wait 0.5", "!advance 0.5"})},
        {"滚动",
         "One step to the right: the strip cross-fades to the next icons.",
         fixed({R"({"command":"scroll","args":{"step":1}})", "!advance 0.5"})},
        {"悬停卡片",
         "With screen recording granted, the pointer rests on 备忘录 (Notes): after 0.45 s the card opens under "
         "the icon with a live picture of its frontmost window.",
         [](const Library& library) {
             std::vector<std::string> lines = {"!grant screen", R"({"command":"scroll","args":{"step":-1}})",
                                               "!advance 0.5"};
             // Where the icon sits is known only once the strip has scrolled back.
             (void)library;
             lines.push_back("@pointer 备忘录");
             lines.push_back("!advance 1");
             return lines;
         }},
        {"切换窗口",
         "The card steps to Notes' second window, a portrait one, and slides it in.",
         fixed({R"({"command":"previewStep","args":{"step":1}})", "!advance 1"})},
        {"右键菜单",
         "The pointer leaves the card and a right click on Safari opens its context menu.",
         fixed({"!pointer 700 500", "!advance 0.5", "@rightclick Safari"})},
        {"设置 · 应用栏",
         "The host pushes its settings and opens the settings window on the pinned-apps page.",
         [](const Library& library) {
             return std::vector<std::string>{"!dismiss", settingsUpdateLine(library, "已导入 Dock 中的 7 个应用。"),
                                             R"({"command":"settingsTab","args":{"tab":"apps"}})",
                                             R"({"command":"settingsShow"})", "!advance 0.5"};
         }},
        {"设置 · 添加应用",
         "The catalogue of installed applications, as the add page lists it.",
         fixed({R"({"command":"settingsTab","args":{"tab":"add"}})", "!advance 0.5"})},
        {"设置 · 偏好设置",
         "The preferences page: strip toggles, permissions, the Dock and login.",
         fixed({R"({"command":"settingsTab","args":{"tab":"settings"}})", "!advance 0.5"})},
        {"验收自预览",
         "In acceptance mode the library opens its tall test window and shows the card of the host itself: the "
         "portrait window at the tallest viewport.",
         fixed({R"({"command":"settingsHide"})", R"({"command":"stop"})", R"({"command":"start","args":{"qaMode":true}})",
                configureLine(true), "!wait 0.5", "!advance 0.5", R"({"command":"qaSelfPreview"})", "!advance 1"})},
    };
}

// "@pointer LABEL" and "@rightclick LABEL" act on the strip button whose
// label starts with LABEL, wherever it sits now.
std::string resolved(const Library& library, const std::string& line) {
    for (const std::string verb : {"pointer", "rightclick"}) {
        const std::string prefix = "@" + verb + " ";
        if (line.rfind(prefix, 0) != 0) continue;
        auto point = pointOverButton(library, line.substr(prefix.size()));
        if (!point) return "!state";
        return "!" + verb + " " + *point;
    }
    return line;
}

std::string stepFolderName(std::size_t index) {
    char name[32];
    std::snprintf(name, sizeof name, "step-%02zu", index + 1);
    return name;
}

}  // namespace

std::string demoConfigureLine() { return configureLine(false); }
std::string demoSettingsUpdateLine(const Library& library) { return settingsUpdateLine(library, ""); }

int runDemo(const Library& library, const std::string& folder) {
    fs::create_directories(folder);
    for (const char* name : surfaceNames) fs::remove(fs::path(folder) / name);

    std::ofstream transcript(fs::path(folder) / "session.jsonl");
    Session session(library, /*manualClock=*/true);
    auto send = [&](const std::string& line) {
        const std::string reply = session.run(line);
        if (reply.empty()) return;
        json record = {{"send", line}};
        try {
            record["reply"] = json::parse(reply);
        } catch (const json::exception&) {
            record["reply"] = reply;
        }
        transcript << record.dump() << "\n";
    };

    std::vector<DemoStep> pageSteps;
    int pictures = 0;
    const auto all = steps();
    for (std::size_t i = 0; i < all.size(); ++i) {
        DemoStep page{all[i].title, all[i].note, {}, {}, {}, {}};
        for (const auto& line : all[i].lines(library)) {
            const auto sent = resolved(library, line);
            page.lines.push_back(sent);
            send(sent);
        }

        // The library saves its surfaces into a fresh folder on the simulated
        // disk. The folder is made by a recorded verb, so that replaying the
        // transcript on a fresh disk saves the same pictures.
        const std::string captureStep = std::string(captureFolder) + "/" + stepFolderName(i);
        const fs::path captureOnDisk = desktop::resolve(captureStep);
        fs::remove_all(captureOnDisk);
        send("!mkdir " + captureStep);
        send(json{{"command", "capture"}, {"args", {{"directory", captureStep}}}}.dump());
        send("!advance 0.2");

        const fs::path stepFolder = fs::path(folder) / stepFolderName(i);
        fs::remove_all(stepFolder);
        fs::create_directories(stepFolder);
        const auto screen = stepFolder / "screen.png";
        send("!screenshot " + screen.string());
        if (fs::exists(screen)) page.screen = stepFolderName(i) + "/screen.png";
        // Pulled off the disk by recorded verbs, so a replay leaves the same files.
        for (const char* name : surfaceNames) {
            if (!fs::exists(captureOnDisk / name)) continue;
            send("!pull " + captureStep + "/" + name + " " + (stepFolder / name).string());
            send("!pull " + captureStep + "/" + name + " " + (fs::path(folder) / name).string());
            page.surfaces.push_back(stepFolderName(i) + "/" + name);
            ++pictures;
        }
        page.snapshot = dataOf(library, R"({"command":"snapshot"})").dump(2);
        pageSteps.push_back(std::move(page));
    }
    send(R"({"command":"events"})");
    send(R"({"command":"stop"})");

    std::ofstream(fs::path(folder) / "index.html") << demoPage("岚舟 · OrvaneNative demo", pageSteps);
    std::printf("demo: %zu steps, %d surface picture(s), index.html and session.jsonl in %s\n", pageSteps.size(),
                pictures, folder.c_str());
    return pictures > 0 ? 0 : 1;
}

}  // namespace host
