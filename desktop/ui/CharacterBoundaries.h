#pragma once

// The characters of text fields as a person deletes them: the toolkit's
// delete key removes what looks like one character, not one byte or one
// code point.

#include <cstddef>
#include <string_view>

namespace desktop::ui {

// Where the last `count` characters a person sees begin in UTF-8 text (an
// emoji sequence or a letter with its combining marks counts as one), as
// the delete key pressed `count` times removes them; 0 when the text has no
// more. Text holding a NUL or malformed bytes goes by code points, each
// ill-formed byte counting as one, so that what remains is never cut inside
// a sequence.
std::size_t startOfLastCharacters(std::string_view text, int count);

}  // namespace desktop::ui
