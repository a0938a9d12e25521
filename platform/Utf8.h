#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Length of the well-formed UTF-8 sequence at text[i], or 0 when the bytes
// there are not one. Checks the ranges of the second byte so that overlong
// forms, surrogates and values beyond U+10FFFF are rejected.
inline std::size_t utf8SequenceLength(std::string_view text, std::size_t i) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b0 = byte(i);
    if (b0 < 0x80) return 1;
    std::size_t length = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) length = 2;
    else if (b0 == 0xE0) { length = 3; lo = 0xA0; }
    else if (b0 >= 0xE1 && b0 <= 0xEC) length = 3;
    else if (b0 == 0xED) { length = 3; hi = 0x9F; }
    else if (b0 >= 0xEE && b0 <= 0xEF) length = 3;
    else if (b0 == 0xF0) { length = 4; lo = 0x90; }
    else if (b0 >= 0xF1 && b0 <= 0xF3) length = 4;
    else if (b0 == 0xF4) { length = 4; hi = 0x8F; }
    else return 0;
    if (i + 1 >= text.size() || byte(i + 1) < lo || byte(i + 1) > hi) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (i + k >= text.size() || byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
    }
    return length;
}

inline bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = utf8SequenceLength(text, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

// Replaces every maximal ill-formed subpart with U+FFFD, as the platform's
// decoder does, so that "\xE4\xB8" (a cut-off 中) becomes one replacement
// character and "\xFF\xFE" two.
inline std::string repairUtf8(std::string_view text) {
    static constexpr std::string_view replacement = "\xEF\xBF\xBD";
    // Most text is already well formed: it is copied whole, and otherwise
    // its well-formed start is.
    std::size_t wellFormed = 0;
    while (wellFormed < text.size()) {
        const std::size_t n = utf8SequenceLength(text, wellFormed);
        if (n == 0) break;
        wellFormed += n;
    }
    if (wellFormed == text.size()) return std::string(text);
    std::string out;
    out.reserve(text.size());
    out.append(text.substr(0, wellFormed));
    for (std::size_t i = wellFormed; i < text.size();) {
        const std::size_t n = utf8SequenceLength(text, i);
        if (n > 0) {
            out.append(text.substr(i, n));
            i += n;
            continue;
        }
        // The maximal subpart: the lead byte plus the continuation bytes that
        // a well-formed sequence could still have had at this point.
        std::size_t j = i + 1;
        const unsigned char b0 = static_cast<unsigned char>(text[i]);
        std::size_t expected = b0 >= 0xF0 && b0 <= 0xF4 ? 4 : b0 >= 0xE0 && b0 <= 0xEF ? 3 : b0 >= 0xC2 && b0 <= 0xDF ? 2 : 1;
        for (std::size_t k = 1; k < expected && j < text.size(); ++k, ++j) {
            const unsigned char b = static_cast<unsigned char>(text[j]);
            unsigned char lo = 0x80, hi = 0xBF;
            if (k == 1) {
                if (b0 == 0xE0) lo = 0xA0;
                else if (b0 == 0xED) hi = 0x9F;
                else if (b0 == 0xF0) lo = 0x90;
                else if (b0 == 0xF4) hi = 0x8F;
            }
            if (b < lo || b > hi) break;
        }
        out.append(replacement);
        i = j;
    }
    return out;
}

}  // namespace platform
