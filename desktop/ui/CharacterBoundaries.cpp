#include "desktop/ui/CharacterBoundaries.h"

#include <pango/pango.h>

#include <vector>

#include "platform/Utf8.h"

namespace desktop::ui {

std::size_t startOfLastCharacter(std::string_view text) {
    if (text.empty()) return 0;
    // Pango reads only well-formed text; anything else goes a byte at a time.
    if (!platform::isValidUtf8(text)) return text.size() - 1;
    const glong characters = g_utf8_strlen(text.data(), static_cast<gssize>(text.size()));
    std::vector<PangoLogAttr> attributes(static_cast<std::size_t>(characters) + 1);
    pango_get_log_attrs(text.data(), static_cast<int>(text.size()), -1, pango_language_get_default(), attributes.data(),
                        static_cast<int>(attributes.size()));
    glong last = characters - 1;
    while (last > 0 && !attributes[static_cast<std::size_t>(last)].is_cursor_position) --last;
    return static_cast<std::size_t>(g_utf8_offset_to_pointer(text.data(), last) - text.data());
}

}  // namespace desktop::ui
