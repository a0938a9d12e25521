#pragma once

#include <string>
#include <string_view>
#include <variant>

#include <nlohmann/json_fwd.hpp>

namespace orvane {

// Deeper requests are refused before parsing: copying, comparing and writing
// a JSON tree recurse, so an unbounded depth would end in a stack overflow.
inline constexpr int maximumRequestDepth = 512;

// Parses request text (valid UTF-8) whose top level is an object or an
// array, as the platform's reader does. Fails with the reader's own
// description of the problem.
std::variant<nlohmann::json, std::string> readRequest(std::string_view text);

}  // namespace orvane
