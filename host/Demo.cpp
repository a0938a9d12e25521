#include "host/Demo.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "desktop/Disk.h"
#include "host/Session.h"

namespace host {

namespace {

// Where the library saves its pictures on the simulated Mac.
constexpr const char* captureFolder = "/tmp/orvane-demo";

// A morning on the demo Mac: the launcher starts with more pinned apps than
// slots, learns that Dropbox shows its own menu-bar item, is hovered and
// scrolled, and saves its pictures; then the host fills and opens the
// settings window (settingsSession).
std::string script() {
    std::ostringstream s;
    s << R"({"command":"start"})" "\n"
      << R"({"command":"configure","args":{"maxIcons":5,"showRunning":true,"autoDedup":true,"pinned":[)"
      << R"({"id":"com.apple.finder","name":"访达","path":"/System/Library/CoreServices/Finder.app","policy":"always"},)"
      << R"({"id":"com.apple.Safari","name":"Safari","path":"/Applications/Safari.app","policy":"auto"},)"
      << R"({"id":"com.apple.mail","name":"Mail","path":"/System/Applications/Mail.app","policy":"auto"},)"
      << R"({"id":"com.apple.Notes","name":"Notes","path":"/System/Applications/Notes.app","policy":"auto"},)"
      << R"({"id":"com.apple.Terminal","name":"Terminal","path":"/System/Applications/Utilities/Terminal.app","policy":"auto"},)"
      << R"({"id":"com.getdropbox.dropbox","name":"Dropbox","path":"/Applications/Dropbox.app","policy":"auto"},)"
      << R"({"id":"com.tinyspeck.slackmacgap","name":"Slack","path":"/Applications/Slack.app","policy":"auto"})"
      << "]}}\n"
      << "!grant accessibility\n"
      << R"({"command":"permission"})" "\n"
      << "!wait 0.5\n"
      << "!advance 0.5\n"
      << R"({"command":"scroll","args":{"step":1}})" "\n"
      << "!advance 0.5\n"
      << "!pointer 1365 963\n"
      << R"({"command":"snapshot"})" "\n"
      << R"({"command":"capture","args":{"directory":")" << captureFolder << R"("}})" "\n"
      << R"({"command":"dockRead"})" "\n"
      << R"({"command":"import"})" "\n"
      << R"({"command":"installed"})" "\n"
      << R"({"command":"events"})" "\n";
    return s.str();
}

// Writes one transcript line for a request and its reply.
class Transcript {
public:
    explicit Transcript(const std::filesystem::path& path) : out_(path) {}
    void record(const std::string& line, const std::string& reply) {
        nlohmann::json entry = {{"send", line}};
        try {
            entry["reply"] = nlohmann::json::parse(reply);
        } catch (const nlohmann::json::exception&) {
            entry["reply"] = reply;
        }
        out_ << entry.dump() << "\n";
    }

private:
    std::ofstream out_;
};

// Runs one request, records it and returns the reply's data (null on failure).
nlohmann::json request(Session& session, Transcript& transcript, const nlohmann::json& message) {
    const std::string line = message.dump();
    const std::string reply = session.run(line);
    transcript.record(line, reply);
    const auto parsed = nlohmann::json::parse(reply, nullptr, false);
    return parsed.is_object() ? parsed.value("data", nlohmann::json()) : nlohmann::json();
}

void copyCapture(const std::string& name, const std::filesystem::path& to) {
    const std::filesystem::path from = desktop::resolve(std::string(captureFolder) + "/settings.png");
    if (std::filesystem::exists(from)) std::filesystem::copy_file(from, to / name, std::filesystem::copy_options::overwrite_existing);
}

// The settings window as the host would fill it: the Dock imported as the
// pinned list, the installed catalogue, the strip's state from the snapshot
// and a banner; then a picture of each page, the pinned apps last so that
// settings.png shows the window as it opens.
void settingsSession(Session& session, Transcript& transcript, const std::filesystem::path& folder) {
    const auto imported = request(session, transcript, {{"command", "import"}});
    const auto installed = request(session, transcript, {{"command", "installed"}});
    const auto snapshot = request(session, transcript, {{"command", "snapshot"}});
    const auto pinned = imported.value("apps", nlohmann::json::array());
    nlohmann::json visible = nlohmann::json::array();
    for (const auto& entry : snapshot.value("visible", nlohmann::json::array())) visible.push_back(entry.value("id", ""));
    const nlohmann::json update = {
        {"preferences", {{"pinned", pinned}, {"maxIcons", 5}, {"showRunning", true}, {"autoDedup", true},
                         {"hasUndo", true}}},
        {"state", {{"trusted", snapshot.value("trusted", false)},
                   {"screenCapture", snapshot.value("screenCapture", false)},
                   {"detections", snapshot.value("detections", nlohmann::json::object())},
                   {"visible", visible},
                   {"hidden", snapshot.value("hidden", nlohmann::json::array())},
                   {"dockStatus", snapshot.value("dockStatus", "")}}},
        {"installed", installed.is_array() ? installed : nlohmann::json::array()},
        {"message", "已从 Dock 导入 " + std::to_string(pinned.size()) + " 个应用，原 Dock 列表保持不变。"},
    };
    request(session, transcript, {{"command", "settingsUpdate"}, {"args", update}});
    request(session, transcript, {{"command", "settingsShow"}});
    const nlohmann::json capture = {{"command", "capture"}, {"args", {{"directory", captureFolder}}}};
    for (const char* tab : {"add", "settings", "apps"}) {
        request(session, transcript, {{"command", "settingsTab"}, {"args", {{"tab", tab}}}});
        request(session, transcript, capture);
        copyCapture(std::string("settings-") + tab + ".png", folder);
    }
    request(session, transcript, {{"command", "events"}});
    request(session, transcript, {{"command", "stop"}});
}

}  // namespace

int runDemo(const Library& library, const std::string& folder) {
    std::filesystem::create_directories(folder);
    std::filesystem::create_directories(desktop::resolve(captureFolder));
    for (const char* name : {"strip.png", "card.png", "settings.png"}) {
        std::filesystem::remove(desktop::resolve(std::string(captureFolder) + "/" + name));
    }

    Transcript transcript(std::filesystem::path(folder) / "session.jsonl");
    Session session(library, /*manualClock=*/true);
    std::istringstream input(script());
    session.runAll(input, [&](const std::string& line, const std::string& reply) { transcript.record(line, reply); });
    settingsSession(session, transcript, folder);

    int copied = 0;
    for (const char* name : {"strip.png", "card.png", "settings.png"}) {
        const std::filesystem::path from = desktop::resolve(std::string(captureFolder) + "/" + name);
        if (!std::filesystem::exists(from)) continue;
        std::filesystem::copy_file(from, std::filesystem::path(folder) / name,
                                   std::filesystem::copy_options::overwrite_existing);
        ++copied;
    }
    std::printf("demo: %d picture(s) and session.jsonl in %s\n", copied, folder.c_str());
    return copied > 0 ? 0 : 1;
}

}  // namespace host
