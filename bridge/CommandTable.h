#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "model/JsonOutput.h"
#include "platform/OrvaneError.h"

namespace orvane {

// A command's data, or the error it failed with (only the message crosses the
// bridge). Data is a tree, or a writer that writes it straight into the reply
// during the same call, for data too large to build first.
using CommandOutcome = std::variant<nlohmann::json, JsonWriter, platform::OrvaneError>;

// One command as a host sees it: its name, what it does in one line, and
// its arguments (type and default) as the guide for hosts lists them.
struct CommandInfo {
    std::string_view name;
    std::string_view summary;
    std::string_view arguments;
};

// Every command, in the order names are compared.
std::vector<CommandInfo> commandTable();

// Runs the named command with its argument object. Names are compared
// case-sensitively in the table's order; an unknown name fails.
CommandOutcome dispatch(const std::string& command, const nlohmann::json& args);

}  // namespace orvane
