#include "host/Session.h"

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "desktop/GeometryJson.h"

namespace host {

namespace {

std::string trimmed(const std::string& line) {
    const auto first = line.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = line.find_last_not_of(" \t\r\n");
    return line.substr(first, last - first + 1);
}

// "!wait S": turns the main run loop for S real seconds without moving a
// manual clock, so that work on other threads (the accessibility scan, open
// completions) can hand its results back.
std::string wait(const std::string& argument) {
    const auto first = argument.find_first_not_of(' ');
    const auto seconds = desktop::numberFromWord(first == std::string::npos ? "" : argument.substr(first));
    if (!seconds) return R"({"error":"wait needs a number of seconds","ok":false})";
    if (*seconds < 0 || *seconds > 60) return R"({"error":"wait takes 0 to 60 seconds","ok":false})";
    desktop::runUntil([] { return false; }, *seconds);
    return R"({"ok":true})";
}

}  // namespace

std::string Session::run(const std::string& rawLine) {
    const std::string line = trimmed(rawLine);
    if (line.empty() || line[0] == '#') return {};
    std::string reply;
    if (line.rfind("!wait", 0) == 0) {
        reply = wait(line.substr(5));
    } else if (line[0] == '!') {
        reply = desktop::verb(line.substr(1)).dump();
    } else {
        reply = library_.call(line);
    }
    if (manualClock_) {
        desktop::pump();
    } else {
        desktop::runFor(0.02);
    }
    return reply;
}

void Session::runAll(std::istream& input, const std::function<void(const std::string&, const std::string&)>& sink) {
    std::string line;
    while (std::getline(input, line)) {
        const std::string reply = run(line);
        if (!reply.empty()) sink(trimmed(line), reply);
    }
}

}  // namespace host
