#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace orvane {

// Reads one argument of a command, accepted only with exactly the expected
// JSON type; anything else counts as missing.
std::optional<bool> boolArgument(const nlohmann::json& args, const char* key);
// Integers beyond the signed 64-bit range saturate.
std::optional<std::int64_t> integerArgument(const nlohmann::json& args, const char* key);
std::optional<std::string> stringArgument(const nlohmann::json& args, const char* key);

}  // namespace orvane
