// Tests of orvane-host as a program: the clock it runs the simulated Mac on.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "tests/desktop/TemporaryDisk.h"

namespace {

// Runs orvane-host with the environment assignment and the flags on a
// script of one "!state" line, and returns the clock its state reports.
std::string hostClock(const orvane::test::TemporaryDisk& disk, const std::string& environment, const std::string& flags) {
    const std::string script = disk.real("/script.txt");
    std::ofstream(script) << "!state\n";
    const std::string command = "env -u ORVANE_CLOCK " + environment + " '" + ORVANE_HOST_PATH + "' --disk '" +
                                disk.root() + "' --script '" + script + "' " + flags;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return "no pipe";
    std::string output;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    if (::pclose(pipe) != 0) return "host failed";
    auto reply = nlohmann::json::parse(output, nullptr, false);
    const auto* clock = reply.is_object() ? &reply["state"]["clock"] : nullptr;
    return clock && clock->is_string() ? clock->get<std::string>() : "no state: " + output.substr(0, 200);
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

}  // namespace
