#pragma once

// The JSON value of the library. Headers that only pass values around include
// <nlohmann/json_fwd.hpp>; this header is for the translation units that build or
// read them, because the full library is expensive to compile.
#include <nlohmann/json.hpp>

namespace platform {
using Json = nlohmann::json;
}
