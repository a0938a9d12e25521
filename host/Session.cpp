#include "host/Session.h"

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"

namespace host {

namespace {

std::string trimmed(const std::string& line) {
    const auto first = line.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = line.find_last_not_of(" \t\r\n");
    return line.substr(first, last - first + 1);
}

}  // namespace

std::string Session::run(const std::string& rawLine) {
    const std::string line = trimmed(rawLine);
    if (line.empty() || line[0] == '#') return {};
    std::string reply;
    if (line[0] == '!') {
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
