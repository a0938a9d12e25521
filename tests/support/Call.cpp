#include "tests/support/Call.h"

#include <gtest/gtest.h>

#include "bridge/OrvaneCall.h"

namespace orvane::test {

std::string callText(const char* request) {
    char* reply = orvane::orvaneCall(request);
    std::string text = reply ? reply : "";
    orvane::orvaneFree(reply);
    return text;
}

nlohmann::json call(const std::string& command, const nlohmann::json& args) {
    const std::string request = nlohmann::json{{"command", command}, {"args", args}}.dump();
    return nlohmann::json::parse(callText(request.c_str()));
}

nlohmann::json data(const std::string& command, const nlohmann::json& args) {
    const auto reply = call(command, args);
    EXPECT_EQ(reply.value("ok", false), true) << command << " failed: " << reply.dump();
    return reply.value("data", nlohmann::json());
}

}  // namespace orvane::test
