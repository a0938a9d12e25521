#pragma once

#include <string>
#include <variant>

#include <nlohmann/json_fwd.hpp>

#include "platform/OrvaneError.h"

namespace orvane {

// A command's data, or the error it failed with (only the message crosses the bridge).
using CommandOutcome = std::variant<nlohmann::json, platform::OrvaneError>;

// Runs the named command with its argument object. Names are compared
// case-sensitively in the table's order; an unknown name fails.
CommandOutcome dispatch(const std::string& command, const nlohmann::json& args);

}  // namespace orvane
