// Tests of orvane-host as a program: what it takes from the environment
// (the clock and the scene) and how its flags win over it.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "tests/desktop/TemporaryDisk.h"

namespace {

// Runs orvane-host with the environment assignments and the flags on a
// script of one "!state" line, and returns the state it reports (null when
// the host failed or printed something else).
nlohmann::json hostState(const orvane::test::TemporaryDisk& disk, const std::string& environment,
                         const std::string& flags) {
    const std::string script = disk.real("/script.txt");
    std::ofstream(script) << "!state\n";
    const std::string command = "env -u ORVANE_CLOCK -u ORVANE_SCENE " + environment + " '" + ORVANE_HOST_PATH +
                                "' --disk '" + disk.root() + "' --script '" + script + "' " + flags + " 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return nullptr;
    std::string output;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    if (::pclose(pipe) != 0) return nullptr;
    auto reply = nlohmann::json::parse(output, nullptr, false);
    if (!reply.is_object() || !reply["state"].is_object()) return nullptr;
    return reply["state"];
}

std::string hostClock(const orvane::test::TemporaryDisk& disk, const std::string& environment, const std::string& flags) {
    auto state = hostState(disk, environment, flags);
    return state.is_object() && state["clock"].is_string() ? state["clock"].get<std::string>() : "no state";
}

// Tests that the host takes its clock from ORVANE_CLOCK, and that a flag on
// the command line wins over the environment.
TEST(HostClockTest, EnvironmentChoosesTheClockUnlessAFlagDoes) {
    orvane::test::TemporaryDisk disk;
    EXPECT_EQ(hostClock(disk, "", ""), "real");
    EXPECT_EQ(hostClock(disk, "ORVANE_CLOCK=manual", ""), "manual");
    EXPECT_EQ(hostClock(disk, "ORVANE_CLOCK=real", ""), "real");
    EXPECT_EQ(hostClock(disk, "ORVANE_CLOCK=manual", "--realtime"), "real");
    EXPECT_EQ(hostClock(disk, "ORVANE_CLOCK=real", "--virtual"), "manual");
}

// Tests that the host takes its scene from ORVANE_SCENE, that --scene wins
// over it, and that a scene file that cannot be read leaves the default
// scene rather than stopping the host.
TEST(HostSceneTest, EnvironmentChoosesTheSceneUnlessAFlagDoes) {
    orvane::test::TemporaryDisk disk;
    const std::string reduced = disk.real("/reduced.json");
    const std::string plain = disk.real("/plain.json");
    const std::string broken = disk.real("/broken.json");
    std::ofstream(reduced) << R"({"reduceMotion": true, "screens": []})";
    std::ofstream(plain) << R"({"reduceMotion": false})";
    std::ofstream(broken) << "{not json";

    auto fromDefault = hostState(disk, "ORVANE_CLOCK=manual", "");
    ASSERT_TRUE(fromDefault.is_object());
    EXPECT_EQ(fromDefault["reduceMotion"], false);
    EXPECT_FALSE(fromDefault["screens"].empty());

    auto fromEnvironment = hostState(disk, "ORVANE_CLOCK=manual ORVANE_SCENE='" + reduced + "'", "");
    ASSERT_TRUE(fromEnvironment.is_object());
    EXPECT_EQ(fromEnvironment["reduceMotion"], true);
    EXPECT_TRUE(fromEnvironment["screens"].empty());

    auto fromFlag = hostState(disk, "ORVANE_CLOCK=manual ORVANE_SCENE='" + reduced + "'", "--scene '" + plain + "'");
    ASSERT_TRUE(fromFlag.is_object());
    EXPECT_EQ(fromFlag["reduceMotion"], false);

    auto fromBroken = hostState(disk, "ORVANE_CLOCK=manual ORVANE_SCENE='" + broken + "'", "");
    ASSERT_TRUE(fromBroken.is_object());
    EXPECT_EQ(fromBroken["screens"], fromDefault["screens"]);
}

}  // namespace
