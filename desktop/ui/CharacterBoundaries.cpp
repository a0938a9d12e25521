#include "desktop/ui/CharacterBoundaries.h"

#include <pango/pango.h>

#include <vector>

#include "platform/Utf8.h"

namespace desktop::ui {

namespace {

// The byte offset of every code point's start, and the text's end last.
std::vector<std::size_t> codePointStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size();) {
        starts.push_back(i);
        const std::size_t n = platform::utf8SequenceLength(text, i);
        i += n == 0 ? 1 : n;
    }
    starts.push_back(text.size());
    return starts;
}

}  // namespace

std::size_t startOfLastCharacters(std::string_view text, int count) {
    if (text.empty() || count <= 0) return text.size();
    const std::vector<std::size_t> starts = codePointStarts(text);
    const std::size_t codePoints = starts.size() - 1;
    // Pango reads only well-formed text without NUL; it then marks where a
    // cursor may stand, one entry per code point and one for the end.
    std::vector<bool> cursorAt(codePoints + 1, true);
    if (text.find('\0') == std::string_view::npos && platform::isValidUtf8(text)) {
        std::vector<PangoLogAttr> attributes(codePoints + 1);
        pango_get_log_attrs(text.data(), static_cast<int>(text.size()), -1, pango_language_get_default(), attributes.data(),
                            static_cast<int>(attributes.size()));
        for (std::size_t i = 0; i <= codePoints; ++i) cursorAt[i] = attributes[i].is_cursor_position;
    }
    std::size_t at = codePoints;
    for (int removed = 0; removed < count && at > 0; ++removed) {
        --at;
        while (at > 0 && !cursorAt[at]) --at;
    }
    return starts[at];
}

}  // namespace desktop::ui
