#pragma once

#include <string>

#include <nlohmann/json.hpp>

namespace orvane::test {

// Sends one raw request through the library's entry point and returns the
// reply text (released as a host would).
std::string callText(const char* request);

// Sends {"command": command, "args": args} and returns the parsed reply.
nlohmann::json call(const std::string& command, const nlohmann::json& args = nlohmann::json::object());

// The reply's data of a command that must succeed (fails the test otherwise).
nlohmann::json data(const std::string& command, const nlohmann::json& args = nlohmann::json::object());

}  // namespace orvane::test
