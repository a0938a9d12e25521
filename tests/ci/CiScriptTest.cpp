// Tests of the CI script and the fuzz build it runs: settings that decide
// whether the fuzz step fails on real faults only.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string sourceFile(const std::string& relative) {
    std::ifstream in(std::filesystem::path(ORVANE_SOURCE_DIR) / relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The shell command that contains needle, with its continuation lines joined.
std::string commandWith(const std::string& script, const std::string& needle) {
    std::string joined;
    for (std::size_t i = 0; i < script.size(); ++i) {
        if (script[i] == '\\' && i + 1 < script.size() && script[i + 1] == '\n') {
            ++i;
            continue;
        }
        joined += script[i];
    }
    std::istringstream lines(joined);
    for (std::string line; std::getline(lines, line);)
        if (line.find(needle) != std::string::npos) return line;
    return {};
}

// Whether a test's full name matches a --gtest_filter pattern list (no
// negative part): ':' separates patterns, '*' matches any run, '?' one character.
bool filterSelects(const std::string& filter, const std::string& name) {
    const auto matches = [](const std::string& pattern, const std::string& text) {
        std::size_t p = 0, t = 0, star = std::string::npos, resume = 0;
        while (t < text.size()) {
            if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
                ++p;
                ++t;
            } else if (p < pattern.size() && pattern[p] == '*') {
                star = p++;
                resume = t;
            } else if (star != std::string::npos) {
                p = star + 1;
                t = ++resume;
            } else {
                return false;
            }
        }
        while (p < pattern.size() && pattern[p] == '*') ++p;
        return p == pattern.size();
    };
    std::istringstream patterns(filter);
    for (std::string pattern; std::getline(patterns, pattern, ':');)
        if (matches(pattern, name)) return true;
    return false;
}

// Tests that the fuzz run gets the leak suppressions that the sanitizer run
// of the suite gets (a one-time allocation of fontconfig is not a leak of
// ours), stays a bounded smoke run that keeps its reproducers, and that the
// fuzz build stops at the first undefined behaviour instead of printing it
// and going on.
TEST(CiScriptTest, FuzzRunSuppressesKnownLeaksAndStopsOnUndefinedBehaviour) {
    const std::string script = sourceFile(".ci/run");
    ASSERT_FALSE(script.empty());
    const std::string suite = commandWith(script, "ctest");
    ASSERT_NE(suite.find("suppressions=$root/tests/lsan-suppressions.txt"), std::string::npos) << suite;

    const std::string fuzz = commandWith(script, "build-fuzz/orvane_fuzz ");
    ASSERT_FALSE(fuzz.empty());
    EXPECT_NE(fuzz.find("LSAN_OPTIONS=\"suppressions=$root/tests/lsan-suppressions.txt\""), std::string::npos) << fuzz;
    EXPECT_NE(fuzz.find("-max_total_time="), std::string::npos) << fuzz;
    EXPECT_NE(fuzz.find("-artifact_prefix="), std::string::npos) << fuzz;

    const std::string cmake = sourceFile("CMakeLists.txt");
    const auto block = cmake.find("if(ORVANE_FUZZ)");
    ASSERT_NE(block, std::string::npos);
    const std::string fuzzFlags = cmake.substr(block, cmake.find("endif()", block) - block);
    EXPECT_NE(fuzzFlags.find("-fno-sanitize-recover=all"), std::string::npos) << fuzzFlags;
}

// Tests that the ThreadSanitizer run picks the threaded tests of the suite,
// the run loop's contract (a hop to the main thread from a worker,
// cancellation racing the clock) among them, and not the whole suite.
TEST(CiScriptTest, ThreadSanitizerRunSelectsTheThreadedTests) {
    const std::string script = sourceFile(".ci/run");
    const std::string tsan = commandWith(script, "build-tsan/orvane_tests");
    const std::string flag = "--gtest_filter='";
    const auto start = tsan.find(flag);
    ASSERT_NE(start, std::string::npos) << tsan;
    const auto end = tsan.find('\'', start + flag.size());
    ASSERT_NE(end, std::string::npos) << tsan;
    const std::string filter = tsan.substr(start + flag.size(), end - start - flag.size());

    for (const char* name : {"PlatformContractRunLoop.PostToMainHopsToTheMainThread",
                             "PlatformContractRunLoop.CancelledJobsAndInvalidatedTimersStop",
                             "RunLoopTest.ThreadedPostToMainFromManyThreads"})
        EXPECT_TRUE(filterSelects(filter, name)) << name << " is not run under ThreadSanitizer: " << filter;
    EXPECT_FALSE(filterSelects(filter, "LayerTableTest.EveryFolderIncludesOnlyWhatTheTableAllows")) << filter;
    EXPECT_FALSE(filterSelects(filter, "PlatformContractFiles.WalkReportsPackagesButSkipsTheirContentsAndHiddenEntries"))
        << filter;
}

}  // namespace
