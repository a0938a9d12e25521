#include "bridge/RequestReader.h"

#include "platform/Json.h"
#include "platform/Utf8.h"

namespace orvane {
namespace {

constexpr const char* notContainerMessage =
    "JSON text did not start with array or object and option to allow fragments not set.";

// Nesting depth of the text's containers, ignoring brackets inside strings;
// stops counting once past the limit.
bool nestsDeeperThan(std::string_view text, int limit) {
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') ++i;
            else if (c == '"') inString = false;
            continue;
        }
        if (c == '"') inString = true;
        else if (c == '[' || c == '{') {
            if (++depth > limit) return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

}  // namespace

std::variant<nlohmann::json, std::string> readRequest(std::string_view text) {
    if (nestsDeeperThan(text, maximumRequestDepth)) {
        return std::string("JSON text nests deeper than ") + std::to_string(maximumRequestDepth) + " levels.";
    }
    nlohmann::json value;
    try {
        value = nlohmann::json::parse(text.begin(), text.end());
    } catch (const nlohmann::json::exception& error) {
        // The reader quotes the offending bytes, which may cut a character in two.
        return platform::repairUtf8(error.what());
    }
    if (!value.is_object() && !value.is_array()) return std::string(notContainerMessage);
    return value;
}

}  // namespace orvane
