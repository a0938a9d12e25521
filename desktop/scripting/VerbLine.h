#pragma once

// What every verb of the simulated Mac shares: its replies, and the rest of
// its line as one argument (an app id, a path or a title may hold spaces).

#include <cstddef>
#include <string>

#include <nlohmann/json.hpp>

namespace desktop {

// {"ok":true} with the given fields.
nlohmann::json verbSucceeded(nlohmann::json fields = nlohmann::json::object());

// {"ok":false,"error":message}.
nlohmann::json verbFailed(const std::string& message);

// The line from start to its end, without the blanks around it; empty when
// start lies past the line or only blanks follow.
std::string trimmedRest(const std::string& line, std::size_t start);

// What follows the first occurrence of word in line, trimmed; empty when the
// word is not in the line.
std::string restAfter(const std::string& line, const std::string& word);

}  // namespace desktop
