#pragma once

#include <string>
#include <variant>

#include <nlohmann/json_fwd.hpp>

namespace orvane {

// A failed command: the message is what crosses the bridge.
struct CommandFailure {
    long code = 0;
    std::string message;
};

using CommandOutcome = std::variant<nlohmann::json, CommandFailure>;

// Runs the named command with its argument object. Names are compared
// case-sensitively in the table's order; an unknown name fails.
CommandOutcome dispatch(const std::string& command, const nlohmann::json& args);

}  // namespace orvane
