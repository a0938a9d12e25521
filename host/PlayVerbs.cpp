#include "host/PlayVerbs.h"

#include <array>
#include <string_view>

#include <nlohmann/json.hpp>

namespace host {

namespace {

constexpr std::array<std::string_view, 29> allowedVerbs{
    "launch", "quit",   "activate", "hide",  "unhide",  "wake",   "space", "grant",  "revoke",
    "state",  "screens", "appearance", "motion", "pointer", "click", "rightclick", "scroll", "menu", "choose",
    "dismiss", "press", "type",    "backspace", "pick",  "step",    "resize", "close", "capture", "window"};

constexpr std::size_t longestLine = 8192;

}  // namespace

std::optional<std::string> refusedPlayLine(const std::string& line) {
    if (line.empty()) return "empty line";
    if (line.size() > longestLine) return "line too long";
    if (line[0] == '!') {
        const auto end = line.find(' ');
        const std::string verb = line.substr(1, end == std::string::npos ? std::string::npos : end - 1);
        for (auto allowed : allowedVerbs)
            if (verb == allowed) return std::nullopt;
        return "the playground does not pass !" + verb;
    }
    const auto request = nlohmann::json::parse(line, nullptr, false);
    if (!request.is_object() || !request.contains("command") || !request["command"].is_string())
        return "not a JSON command";
    return std::nullopt;
}

}  // namespace host
