#pragma once

// The list of the simulated Mac's scripting verbs as a person reads it: the
// verb, how it is written, and what it does in one line. The "help" verb and
// the guide for hosts both print it.

#include <span>
#include <string_view>

namespace desktop {

struct VerbHelp {
    std::string_view name;
    std::string_view usage;
    std::string_view help;
};

// Every verb the simulated Mac answers, grouped by what it acts on.
std::span<const VerbHelp> verbTable();

}  // namespace desktop
