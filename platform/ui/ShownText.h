#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Utf8.h"

namespace platform::ui {

// No line of any window holds more characters than this, even of the
// narrowest glyphs across the widest screen.
inline constexpr std::size_t charactersALineCanShow = 2048;

// A text shown in at most `lines` lines can never show more than its first
// lines × charactersALineCanShow characters, so a longer one is cut there,
// with an ellipsis, before anything lays it out: laying out a few megabytes
// only to show four lines of them would stall the main thread. Returns the
// cut text, or nothing when the text is short enough to be shown as it is.
inline std::optional<std::string> cutToWhatLinesCanShow(std::string_view text, int lines) {
    if (lines <= 0) return std::nullopt;
    const std::size_t most = static_cast<std::size_t>(lines) * charactersALineCanShow;
    if (text.size() <= most) return std::nullopt;  // fewer bytes than characters allowed
    std::size_t end = 0;
    for (std::size_t characters = 0; end < text.size() && characters < most; ++characters) {
        const std::size_t n = utf8SequenceLength(text, end);
        end += n == 0 ? 1 : n;
    }
    if (end >= text.size()) return std::nullopt;
    std::string cut(text.substr(0, end));
    cut += "\xE2\x80\xA6";  // …
    return cut;
}

}  // namespace platform::ui
