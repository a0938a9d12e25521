// Part of the stand-in for the platform's property-list serialization: the
// strict reading of XML scalars that libplist itself reads leniently.
#include "desktop/propertylist/XmlListValues.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "platform/Utf8.h"

namespace desktop {

namespace {

constexpr std::string_view xmlSpace = " \t\r\n";

std::string_view trimmed(std::string_view text) {
    auto first = text.find_first_not_of(xmlSpace);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(xmlSpace) - first + 1);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A run of digits at text[i]; its end.
std::size_t digitsFrom(std::string_view text, std::size_t i) {
    while (i < text.size() && isDigit(text[i])) ++i;
    return i;
}

// Decimal, optionally signed, within the format's -2^63 .. 2^64 - 1.
bool exactInteger(std::string_view text) {
    text = trimmed(text);
    bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    if (text.empty() || digitsFrom(text, 0) != text.size()) return false;
    std::uint64_t limit = negative ? std::uint64_t{1} << 63 : std::numeric_limits<std::uint64_t>::max();
    std::uint64_t value = 0;
    for (char c : text) {
        auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (limit - digit) / 10) return false;
        value = value * 10 + digit;
    }
    return true;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
    return true;
}

// Decimal notation with an optional exponent and a finite value, or the
// words the platform writes for the values that are not finite.
bool exactReal(std::string_view text) {
    text = trimmed(text);
    std::string_view magnitude = text;
    if (!magnitude.empty() && (magnitude.front() == '-' || magnitude.front() == '+')) magnitude.remove_prefix(1);
    for (std::string_view word : {"nan", "inf", "infinity"})
        if (equalsIgnoringCase(magnitude, word)) return true;
    std::size_t i = digitsFrom(magnitude, 0);
    bool whole = i > 0;
    if (i < magnitude.size() && magnitude[i] == '.') {
        std::size_t fraction = digitsFrom(magnitude, i + 1);
        if (!whole && fraction == i + 1) return false;
        i = fraction;
    } else if (!whole) {
        return false;
    }
    if (i < magnitude.size() && (magnitude[i] == 'e' || magnitude[i] == 'E')) {
        std::size_t exponent = i + 1;
        if (exponent < magnitude.size() && (magnitude[exponent] == '-' || magnitude[exponent] == '+')) ++exponent;
        i = digitsFrom(magnitude, exponent);
        if (i == exponent) return false;
    }
    if (i != magnitude.size()) return false;
    std::string copy(text);
    return std::isfinite(std::strtod(copy.c_str(), nullptr));
}

// yyyy-mm-ddThh:mm:ssZ, the platform's form: libplist drops anything finer.
bool exactDate(std::string_view text) {
    text = trimmed(text);
    constexpr std::string_view pattern = "0000-00-00T00:00:00Z";
    if (text.size() != pattern.size()) return false;
    for (std::size_t i = 0; i < pattern.size(); ++i)
        if (pattern[i] == '0' ? !isDigit(text[i]) : text[i] != pattern[i]) return false;
    return true;
}

// Base64 with white space anywhere and its padding in place.
bool exactData(std::string_view text) {
    std::size_t length = 0;
    std::size_t padding = 0;
    for (char c : text) {
        if (xmlSpace.find(c) != std::string_view::npos) continue;
        bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || isDigit(c) || c == '+' || c == '/';
        if (c == '=') {
            ++padding;
        } else if (!letter || padding > 0) {
            return false;
        }
        ++length;
    }
    return length % 4 == 0 && padding <= 2;
}

// Text up to the closing tag, where it starts; npos when there is none. For
// rewriting the text must hold only character data without carriage returns,
// the five named references, numeric references to characters other than
// NUL and surrogates, and CDATA sections (npos otherwise); for reading, CDATA
// sections are only skipped, so that a "</" inside one does not end the text.
std::size_t textEnd(std::string_view text, std::size_t i, PropertyListPurpose purpose) {
    const bool exact = purpose == PropertyListPurpose::rewriting;
    constexpr std::string_view cdataOpen = "<![CDATA[";
    while (i < text.size()) {
        char c = text[i];
        if (c == '<') {
            if (text.substr(i).starts_with("</")) return i;
            if (!text.substr(i).starts_with(cdataOpen)) return std::string_view::npos;
            auto close = text.find("]]>", i + cdataOpen.size());
            if (close == std::string_view::npos) return close;
            i = close + 3;
            continue;
        }
        // XML readers turn a carriage return in text into a line feed; libplist keeps it.
        if (c == '\r' && exact) return std::string_view::npos;
        if (c != '&' || !exact) {
            ++i;
            continue;
        }
        auto semicolon = text.find(';', i);
        if (semicolon == std::string_view::npos) return semicolon;
        std::string_view name = text.substr(i + 1, semicolon - i - 1);
        i = semicolon + 1;
        if (name == "lt" || name == "gt" || name == "amp" || name == "quot" || name == "apos") continue;
        if (name.size() < 2 || name.front() != '#') return std::string_view::npos;
        bool hex = name[1] == 'x';
        std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty() || digits.size() > 8) return std::string_view::npos;
        std::string copy(digits);
        char* end = nullptr;
        unsigned long code = std::strtoul(copy.c_str(), &end, hex ? 16 : 10);
        if (*end != '\0' || !std::isxdigit(static_cast<unsigned char>(copy.front()))) return std::string_view::npos;
        if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::string_view::npos;
    }
    return std::string_view::npos;
}

}  // namespace

bool xmlValuesReadExactly(std::string_view text, PropertyListPurpose purpose) {
    if (text.find('\0') != std::string_view::npos) return false;
    if (purpose == PropertyListPurpose::rewriting && !platform::isValidUtf8(text)) return false;
    std::size_t i = 0;
    while ((i = text.find('<', i)) != std::string_view::npos) {
        std::string_view rest = text.substr(i);
        if (rest.starts_with("<!--") || rest.starts_with("<?")) {
            auto close = text.find(rest.starts_with("<!--") ? "-->" : "?>", i + 2);
            if (close == std::string_view::npos) return false;
            i = close + 2;
            continue;
        }
        auto tagEnd = text.find('>', i);
        if (tagEnd == std::string_view::npos) return false;
        std::size_t nameEnd = i + 1;
        while (nameEnd < tagEnd && std::isalpha(static_cast<unsigned char>(text[nameEnd]))) ++nameEnd;
        std::string_view name = text.substr(i + 1, nameEnd - i - 1);
        bool empty = text[tagEnd - 1] == '/';
        i = tagEnd + 1;
        bool number = name == "integer" || name == "real" || name == "date";
        bool textual = name == "string" || name == "key";
        if (!number && !textual && name != "data") continue;
        if (empty) {
            if (number) return false;
            continue;
        }
        std::size_t contentEnd = textual ? textEnd(text, i, purpose) : text.find('<', i);
        std::string closing = "</" + std::string(name) + ">";
        if (contentEnd == std::string_view::npos || !text.substr(contentEnd).starts_with(closing)) return false;
        std::string_view content = text.substr(i, contentEnd - i);
        if (name == "integer" && !exactInteger(content)) return false;
        if (name == "real" && !exactReal(content)) return false;
        if (name == "date" && !exactDate(content)) return false;
        if (name == "data" && !exactData(content)) return false;
        i = contentEnd + closing.size();
    }
    return true;
}

}  // namespace desktop
