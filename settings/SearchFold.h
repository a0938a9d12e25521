#pragma once

#include <string>

namespace orvane {

// The form the app search compares: composed (NFC), then case-folded.
// Malformed UTF-8 turns into replacement characters, which match only
// themselves.
std::u16string searchFold(const std::string& text);

}  // namespace orvane
