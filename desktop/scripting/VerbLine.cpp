#include "desktop/scripting/VerbLine.h"

namespace desktop {

using nlohmann::json;

json verbSucceeded(json fields) {
    fields["ok"] = true;
    return fields;
}

json verbFailed(const std::string& message) { return {{"ok", false}, {"error", message}}; }

std::string trimmedRest(const std::string& line, std::size_t start) {
    constexpr const char* blanks = " \t\r\n";
    if (start >= line.size()) return {};
    const auto first = line.find_first_not_of(blanks, start);
    if (first == std::string::npos) return {};
    const auto last = line.find_last_not_of(blanks);
    return line.substr(first, last - first + 1);
}

std::string restAfter(const std::string& line, const std::string& word) {
    const auto at = line.find(word);
    if (at == std::string::npos) return {};
    return trimmedRest(line, at + word.size());
}

}  // namespace desktop
