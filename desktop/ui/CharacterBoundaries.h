#pragma once

#include <cstddef>
#include <string_view>

namespace desktop::ui {

// Where the last character a person sees begins in UTF-8 text (an
// emoji sequence or a letter with its combining marks counts as one), as the
// delete key removes it; 0 for empty text. Malformed text loses its last byte.
std::size_t startOfLastCharacter(std::string_view text);

}  // namespace desktop::ui
