#pragma once

#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "model/JsonOutput.h"

namespace orvane {

// Writes a reply value the way the host's JSON reader expects it (see
// ReplyText): compact, keys sorted, non-ASCII as raw UTF-8, "/" as "\/".
// Nothing when the value cannot be written (a non-finite number, a string
// that is not UTF-8).
std::optional<std::string> writeReply(const nlohmann::json& value);

// The whole reply, written the same way into one text: {"data":…,"ok":true}
// and {"error":…,"ok":false}, keys in sorted order. The data is a tree, or
// written straight into the text by a writer that gives exactly one value.
// Nothing when the value or the message cannot be written.
std::optional<std::string> writeSuccessReply(const nlohmann::json& data);
std::optional<std::string> writeSuccessReply(const JsonWriter& data);
std::optional<std::string> writeFailureReply(const std::string& message);

}  // namespace orvane
