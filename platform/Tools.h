#pragma once

#include <string>
#include <variant>
#include <vector>

#include "platform/Error.h"

namespace platform {

// Exit status of a tool that ran, or the error that kept it from launching.
using ToolOutcome = std::variant<int, Error>;

class Tools {
public:
    virtual ~Tools() = default;
    // Launches the executable with the arguments and waits for it to exit.
    virtual ToolOutcome run(const std::string& executable, const std::vector<std::string>& arguments) = 0;
};

Tools& tools();

}  // namespace platform
