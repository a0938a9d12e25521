#include "dock/DockLocation.h"

#include <cstdint>

#include "platform/Path.h"
#include "platform/Utf8.h"

namespace dock {

namespace {

constexpr std::string_view fileScheme = "file:";

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Characters that cannot stand unescaped in a URL string.
bool invalidInUrl(unsigned char c) {
    return c <= 0x20 || c == 0x7F || c == '"' || c == '<' || c == '>' || c == '\\' || c == '^' || c == '`' || c == '{' ||
           c == '|' || c == '}';
}

std::string withoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::optional<std::string> fileUrlPath(const std::string& url) {
    for (unsigned char c : url) {
        if (invalidInUrl(c)) return std::nullopt;
    }
    std::string rest = url.substr(fileScheme.size());
    rest = rest.substr(0, rest.find_first_of("?#"));
    if (rest.starts_with("//")) {
        // The authority (normally empty or "localhost") is not part of the path.
        auto slash = rest.find('/', 2);
        rest = slash == std::string::npos ? std::string() : rest.substr(slash);
    }
    auto path = percentDecoded(rest);
    if (!path || !platform::isPath(*path)) return std::nullopt;
    return withoutTrailingSlash(*path);
}

}  // namespace

std::optional<std::string> percentDecoded(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        int high = hexValue(text[i + 1]), low = hexValue(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    if (!platform::isValidUtf8(out)) return std::nullopt;
    return out;
}

std::optional<std::string> tileLocationPath(const std::string& location) {
    if (location.starts_with(fileScheme)) return fileUrlPath(location);
    // A plain path: decoded when it decodes, taken as it stands otherwise.
    std::string path = percentDecoded(location).value_or(location);
    if (!platform::isPath(path)) return std::nullopt;
    return withoutTrailingSlash(path);
}

}  // namespace dock
