#include "host/Demo.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "desktop/files/Disk.h"
#include "host/DemoPage.h"
#include "host/DemoSteps.h"
#include "host/Session.h"

namespace host {

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// Where the library saves its pictures on the simulated Mac; each step gets a folder below it.
constexpr const char* captureFolder = "/tmp/orvane-demo";
constexpr const char* surfaceNames[] = {"strip.png", "card.png", "settings.png"};
constexpr const char* screenCaption = "The whole screen, for context.";

json desktopState() { return desktop::verb("state").value("state", json::object()); }

// The point a person would move the pointer to over the strip button whose
// label starts with prefix, in screen coordinates; nothing when none shows it.
std::optional<std::string> pointOverButton(const Library& library, const std::string& prefix) {
    const auto snapshot = library.data(R"({"command":"snapshot"})");
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

// What the close-ups of a step are worked out from.
StepScene sceneAfterStep(const Library& library) {
    StepScene scene;
    scene.snapshot = library.data(R"({"command":"snapshot"})");
    const json state = desktopState();
    scene.menu = state.value("menu", json());
    const json screens = state.value("screens", json::array());
    if (!screens.empty() && screens[0].is_object() && screens[0].contains("frame") && screens[0]["frame"].size() == 4) {
        scene.screenWidth = screens[0]["frame"][2].get<double>();
        scene.screenHeight = screens[0]["frame"][3].get<double>();
    }
    return scene;
}

std::string stepFolderName(std::size_t index) {
    char name[32];
    std::snprintf(name, sizeof name, "step-%02zu", index + 1);
    return name;
}

std::string number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

}  // namespace

int runDemo(const Library& library, const std::string& folder) {
    fs::create_directories(folder);
    for (const char* name : surfaceNames) fs::remove(fs::path(folder) / name);

    std::ofstream transcript(fs::path(folder) / "session.jsonl");
    Session session(library, /*manualClock=*/true);
    auto send = [&](const std::string& line) {
        const std::string reply = session.run(line);
        if (reply.empty()) return json();
        json record = {{"send", line}};
        try {
            record["reply"] = json::parse(reply);
        } catch (const json::exception&) {
            record["reply"] = reply;
        }
        transcript << record.dump() << "\n";
        return record["reply"];
    };
    auto sent = [](const json& reply) { return reply.is_object() && reply.value("ok", false); };

    std::vector<DemoStep> pageSteps;
    int pictures = 0;
    const auto all = demoSteps();
    for (std::size_t i = 0; i < all.size(); ++i) {
        DemoStep page{all[i].title, all[i].note, {}, {}, {}, {}, {}};
        for (const auto& line : all[i].lines(library)) {
            const auto resolvedLine = resolved(library, line);
            page.lines.push_back(resolvedLine);
            send(resolvedLine);
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
        if (sent(send("!screenshot " + screen.string()))) page.screen = {stepFolderName(i) + "/screen.png", screenCaption, 0};
        // The pictures at the top of the folder are the light run's latest.
        const bool copyToTop = !(desktopState().value("appearance", "") == "dark");
        // Pulled off the disk by recorded verbs, so a replay leaves the same files.
        for (const char* name : surfaceNames) {
            if (!fs::exists(captureOnDisk / name)) continue;
            send("!pull " + captureStep + "/" + name + " " + (stepFolder / name).string());
            if (copyToTop) send("!pull " + captureStep + "/" + name + " " + (fs::path(folder) / name).string());
            page.surfaces.push_back(stepFolderName(i) + "/" + name);
            ++pictures;
        }

        // The close-ups come first on the page: what the step is about, at a size a person reads.
        const StepScene scene = sceneAfterStep(library);
        int closeUps = 0;
        for (const auto& closeUp : all[i].closeUps ? all[i].closeUps(scene) : std::vector<CloseUp>()) {
            if (closeUp.region) {
                const auto& r = *closeUp.region;
                const std::string file = "closeup-" + std::to_string(++closeUps) + ".png";
                const auto reply = send("!screenshot " + (stepFolder / file).string() + " " + number(r.x) + " " +
                                        number(r.y) + " " + number(r.width) + " " + number(r.height) + " " +
                                        number(r.scale));
                // Shown at two page pixels a point: twice the size the screen shows it.
                if (sent(reply))
                    page.closeUps.push_back({stepFolderName(i) + "/" + file, closeUp.caption, int(r.width * 2 + 0.5)});
            } else if (fs::exists(stepFolder / closeUp.surface)) {
                page.closeUps.push_back({stepFolderName(i) + "/" + closeUp.surface, closeUp.caption, 0});
            }
        }
        page.snapshot = scene.snapshot.dump(2);
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
