#pragma once

// Where a Dock tile points: its "_CFURLString" is either a file URL
// ("file:///Applications/Safari.app/") or a plain path, possibly with
// percent escapes ("/Applications/Visual%20Studio%20Code.app").

#include <optional>
#include <string>

namespace dock {

// The file-system path of a tile's location, without a trailing slash;
// nothing when a "file:" string does not make a URL.
std::optional<std::string> tileLocationPath(const std::string& location);
// Decodes %XX escapes; nothing when an escape is malformed or the result is
// not UTF-8.
std::optional<std::string> percentDecoded(const std::string& text);

}  // namespace dock
