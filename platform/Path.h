#pragma once

#include <string_view>

namespace platform {

// Whether a text the host or a file handed in can name a file. The system
// takes a path as a C string, so one holding a NUL would be cut there and
// name another file (a folder's path followed by "\0" names the folder's
// own parent entry); such a text names nothing, and neither does "".
inline bool isPath(std::string_view text) { return !text.empty() && text.find('\0') == std::string_view::npos; }

}  // namespace platform
