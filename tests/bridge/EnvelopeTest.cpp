// Tests of the request and reply envelope, through the shared library a host loads.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"

namespace {

using CallFunction = char* (*)(const char*);
using FreeFunction = void (*)(char*);

class EnvelopeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        handle = dlopen(ORVANE_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
        call = reinterpret_cast<CallFunction>(dlsym(handle, "orvane_call"));
        release = reinterpret_cast<FreeFunction>(dlsym(handle, "orvane_free"));
        ASSERT_TRUE(call && release);
    }
    void SetUp() override { desktop::reset(nlohmann::json::object(), desktop::Clock::manual); }
    void TearDown() override { send(R"({"command":"stop"})"); }

    static std::string send(const char* request) {
        char* reply = call(request);
        std::string text = reply ? reply : "<null>";
        release(reply);
        return text;
    }

    static inline void* handle = nullptr;
    static inline CallFunction call = nullptr;
    static inline FreeFunction release = nullptr;
};

// Tests that requests refused before any command runs get the exact failure texts.
TEST_F(EnvelopeTest, RefusesMalformedEnvelopes) {
    const std::string invalid = R"({"error":"无效请求","ok":false})";
    EXPECT_EQ(send(nullptr), invalid);
    EXPECT_EQ(send("[1,2]"), invalid);
    EXPECT_EQ(send(R"({"command":7})"), invalid);
    EXPECT_EQ(send(R"({"args":{}})"), invalid);
    EXPECT_EQ(send(R"({"command":"Start"})"), R"({"error":"未知原生操作","ok":false})");
    EXPECT_EQ(send(R"({"command":""})"), R"({"error":"未知原生操作","ok":false})");
}

// Tests that text the reader cannot parse fails with the reader's own description, never with "无效请求".
TEST_F(EnvelopeTest, ReportsReaderErrorsInItsOwnWords) {
    for (const char* text : {"", "{", "{\"command\":}", "\"snapshot\"", "42", "true", "{\"command\"：\"snapshot\"}"}) {
        const std::string reply = send(text);
        EXPECT_EQ(reply.rfind("{\"error\":\"", 0), 0u) << text << " → " << reply;
        EXPECT_NE(reply.find("\"ok\":false}"), std::string::npos) << reply;
        EXPECT_EQ(reply.find("无效请求"), std::string::npos) << text;
        EXPECT_EQ(reply.find("编码失败"), std::string::npos) << text;
    }
    std::string deep(100000, '[');
    EXPECT_EQ(send(deep.c_str()).rfind("{\"error\":\"", 0), 0u);
}

// Tests the replies of commands without a controller and the args fallbacks.
TEST_F(EnvelopeTest, CommandsWithoutControllerSucceedWithEmptyResults) {
    EXPECT_EQ(send(R"({"command":"snapshot"})"), R"({"data":{},"ok":true})");
    EXPECT_EQ(send(R"({"command":"events","args":[]})"), R"({"data":[],"ok":true})");
    EXPECT_EQ(send(R"({"command":"events","args":null})"), R"({"data":[],"ok":true})");
    EXPECT_EQ(send(R"({"command":"stop"})"), R"({"data":{},"ok":true})");
    EXPECT_EQ(send(R"({"command":"configure","args":{"maxIcons":3}})"), R"({"data":{},"ok":true})");
    EXPECT_EQ(send(R"({"command":"hover","args":{"index":0}})"), R"({"data":{},"ok":true})");
}

// Tests that malformed UTF-8 in a request is repaired instead of refused.
TEST_F(EnvelopeTest, RepairsMalformedUtf8) {
    EXPECT_EQ(send("{\"command\":\"events\",\"x\":\"\xE4\xB8\"}"), R"({"data":[],"ok":true})");
    EXPECT_EQ(send("{\"command\":\"\xFFsnapshot\"}"), R"({"error":"未知原生操作","ok":false})");
}

// Tests that calls from other threads are refused with the fixed text while the main thread works.
TEST_F(EnvelopeTest, RefusesOtherThreads) {
    std::atomic<int> refused{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 50; ++i) {
                if (send(R"({"command":"start"})") == R"({"ok":false,"error":"主线程要求"})") ++refused;
            }
        });
    }
    for (int i = 0; i < 50; ++i) EXPECT_EQ(send(R"({"command":"events"})").rfind("{\"data\":", 0), 0u);
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(refused.load(), 200);
    release(nullptr);
}

}  // namespace
