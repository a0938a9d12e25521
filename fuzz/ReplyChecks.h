#pragma once

// What every reply of orvane_call must be: JSON text in one of the two
// envelopes (or one of the two fixed texts), compact with sorted keys and
// "/" escaped, and for a known command the data its table promises.

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace orvane::fuzz {

// Parses and checks the envelope of a reply text; returns the parsed reply.
nlohmann::json checkEnvelope(const std::string& replyText);

// For a request that was a JSON object with this string command: every
// command but dockWrite succeeds, and the data has the promised shape.
// dockWrite may fail, only with one of its own messages.
// Whether the reply is a dockWrite's failure with one of its own messages.
bool isDockWriteFailure(const nlohmann::json& reply);

void checkCommandReply(const std::string& command, const nlohmann::json& reply, bool controllerExists);

}  // namespace orvane::fuzz
