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
// scrolled, shows the live card of Notes and steps to its second window,
// and saves its pictures.
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
      // The card of Notes, live once screen recording is granted; then its
      // second, portrait window.
      << "!grant screen\n"
      << R"({"command":"hover","args":{"index":3}})" "\n"
      << "!advance 0.5\n"
      << R"({"command":"previewStep"})" "\n"
      << "!advance 0.5\n"
      << R"({"command":"snapshot"})" "\n"
      << R"({"command":"capture","args":{"directory":")" << captureFolder << R"("}})" "\n"
      << R"({"command":"dockRead"})" "\n"
      << R"({"command":"import"})" "\n"
      << R"({"command":"installed"})" "\n"
      << R"({"command":"events"})" "\n"
      << R"({"command":"stop"})" "\n";
    return s.str();
}

}  // namespace

int runDemo(const Library& library, const std::string& folder) {
    std::filesystem::create_directories(folder);
    std::filesystem::create_directories(desktop::resolve(captureFolder));
    for (const char* name : {"strip.png", "card.png", "settings.png"}) {
        std::filesystem::remove(desktop::resolve(std::string(captureFolder) + "/" + name));
    }

    std::ofstream transcript(std::filesystem::path(folder) / "session.jsonl");
    Session session(library, /*manualClock=*/true);
    std::istringstream input(script());
    session.runAll(input, [&](const std::string& line, const std::string& reply) {
        nlohmann::json record = {{"send", line}};
        try {
            record["reply"] = nlohmann::json::parse(reply);
        } catch (const nlohmann::json::exception&) {
            record["reply"] = reply;
        }
        transcript << record.dump() << "\n";
    });

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
