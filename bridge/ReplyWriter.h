#pragma once

#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace orvane {

// Writes a reply value the way the host's JSON reader expects it: compact,
// keys sorted, non-ASCII as raw UTF-8, "/" as "\/", control characters
// escaped, integral doubles without a fraction and other doubles in their
// shortest round-trip form. Nothing when the value cannot be written (a
// non-finite number, a string that is not UTF-8).
std::optional<std::string> writeReply(const nlohmann::json& value);

// The envelopes around a value that writeReply produced; keys in sorted order.
std::string successEnvelope(const std::string& data);
std::string failureEnvelope(const std::string& message);

}  // namespace orvane
