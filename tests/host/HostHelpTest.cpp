// Tests of orvane-host --help and the !help verb: every flag and every verb
// with one line of its own, from the tables the parser and the verbs follow.

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "desktop/scripting/VerbTable.h"
#include "host/HostOptions.h"
#include "tests/desktop/ScratchDisk.h"

namespace {

std::string run(const std::string& command, int& status) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return {};
    std::string output;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    status = ::pclose(pipe);
    return output;
}

bool hasLineStartingWith(const std::string& text, const std::string& start) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(start, 0) == 0) return true;
    return false;
}

// Tests that --help exits 0 and gives every flag and every verb a line of its own.
TEST(HostHelpTest, HelpListsEveryFlagAndVerb) {
    int status = -1;
    const std::string help = run(std::string("'") + ORVANE_HOST_PATH + "' --help", status);
    EXPECT_EQ(status, 0);
    for (const char* flag : {"--library", "--scene", "--disk", "--virtual", "--realtime", "--script", "--demo", "--replay", "--strict", "--help"})
        EXPECT_TRUE(hasLineStartingWith(help, std::string("  ") + flag + " ")) << flag << " missing from:\n" << help;
    for (const auto& verb : desktop::verbTable())
        EXPECT_TRUE(hasLineStartingWith(help, "  !" + std::string(verb.usage))) << verb.name << " missing from:\n" << help;

    int refused = -1;
    const auto said = run(std::string("'") + ORVANE_HOST_PATH + "' --no-such-flag 2>&1", refused);
    EXPECT_NE(refused, 0);
    EXPECT_NE(said.find("unknown flag --no-such-flag"), std::string::npos) << said;
}

// Tests that --strict makes a session with any failed reply, a command's or a
// verb's, exit with status 1, and a session without one exit with 0.
TEST(HostHelpTest, StrictSessionFailsOnAnyFailedReply) {
    auto status = [](const std::string& lines, bool strict) {
        int result = -1;
        run("printf '" + lines + "' | '" + ORVANE_HOST_PATH + "' --virtual" + (strict ? " --strict" : "") + " > /dev/null",
            result);
        return result;
    };
    const std::string good = "{\"command\":\"snapshot\"}\\n!advance 0.1\\n";
    EXPECT_EQ(status(good, true), 0);
    EXPECT_EQ(status(good + "{\"command\":\"Start\"}\\n", true), 256);
    EXPECT_EQ(status(good + "!fly away\\n", true), 256);
    EXPECT_EQ(status(good + "{\"command\":\"Start\"}\\n", false), 0);
}

// Tests that each flag the help lists is one the parser accepts, and that a
// flag missing its value is refused rather than quietly taking a default.
TEST(HostHelpTest, EveryListedFlagIsAccepted) {
    auto parses = [](std::vector<std::string> words) {
        std::vector<char*> argv;
        for (auto& word : words) argv.push_back(word.data());
        return host::parseOptions(static_cast<int>(argv.size()), argv.data());
    };
    for (const auto& flag : host::hostFlags()) {
        std::vector<std::string> words = {"orvane-host", std::string(flag.flag)};
        if (!flag.value.empty()) words.push_back("value");
        EXPECT_TRUE(parses(words)) << flag.flag;
        if (flag.value.empty()) continue;
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(parses({"orvane-host", std::string(flag.flag)})) << flag.flag << " without its value";
        EXPECT_NE(::testing::internal::GetCapturedStderr().find("usage"), std::string::npos);
    }
    auto library = parses({"orvane-host", "--library", "/opt/lib/libOrvaneNative.so", "--virtual"});
    ASSERT_TRUE(library);
    EXPECT_EQ(library->library, "/opt/lib/libOrvaneNative.so");
    EXPECT_EQ(library->manualClock, true);
}

// Tests that !help answers with one line per verb, and that every verb it
// lists is one the simulated Mac knows (none answers "unknown verb").
TEST(HostHelpTest, HelpVerbListsVerbsTheMacKnows) {
    desktop::reset(orvane::test::onScratchDisk(desktop::defaultScene()), desktop::Clock::manual);
    const auto reply = desktop::verb("help");
    ASSERT_TRUE(reply.value("ok", false)) << reply.dump();
    const auto& lines = reply.at("verbs");
    ASSERT_EQ(lines.size(), desktop::verbTable().size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto line = lines[i].get<std::string>();
        EXPECT_EQ(line.find('\n'), std::string::npos) << line;
        EXPECT_EQ(line.rfind(std::string(desktop::verbTable()[i].usage), 0), 0u) << line;
    }
    for (const auto& verb : desktop::verbTable()) {
        // Alone, a verb that needs arguments answers with its usage; the rest act harmlessly.
        const std::string name(verb.name);
        const auto answer = desktop::verb(name);
        const auto error = answer.value("error", std::string());
        EXPECT_EQ(error.find("unknown verb"), std::string::npos) << name << ": " << answer.dump();
    }
    EXPECT_NE(desktop::verb("frobnicate").value("error", std::string()).find("unknown verb"), std::string::npos);
    EXPECT_FALSE(desktop::verb("help me").value("ok", true));
}

}  // namespace
