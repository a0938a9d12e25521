// Tests that the copies of the demo disk a host makes for itself do not
// outlive it, even when it is killed: the next host reclaims them, and never
// the copy of a host that still runs.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

std::set<fs::path> copiesIn(const fs::path& folder) {
    std::set<fs::path> copies;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->path().filename().string().rfind("orvane-disk-", 0) == 0) copies.insert(it->path());
    return copies;
}

// Starts orvane-host on a fresh demo disk in folder, waiting on its run loop
// for a minute of real time.
pid_t startWaitingHost(const fs::path& folder) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("TMPDIR", folder.c_str(), 1);
        ::unsetenv("ORVANE_DISK");
        const std::string script = (folder / "wait.txt").string();
        ::execl(ORVANE_HOST_PATH, ORVANE_HOST_PATH, "--virtual", "--script", script.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return pid;
}

bool waitForCopy(const fs::path& folder) {
    for (int i = 0; i < 600; ++i) {
        if (!copiesIn(folder).empty()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

TEST(DemoDiskCopiesTest, NextHostReclaimsTheCopyOfAKilledOne) {
    const fs::path folder = fs::temp_directory_path() / ("orvane-copies-test-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    { std::ofstream(folder / "wait.txt") << "!wait 60\n"; }

    const pid_t killed = startWaitingHost(folder);
    ASSERT_GT(killed, 0);
    ASSERT_TRUE(waitForCopy(folder));
    const auto abandoned = copiesIn(folder);
    ::kill(killed, SIGKILL);
    ::waitpid(killed, nullptr, 0);
    EXPECT_EQ(copiesIn(folder), abandoned) << "a killed host cannot remove its own copy";

    // The next host reclaims it when it makes its own copy.
    const pid_t living = startWaitingHost(folder);
    ASSERT_GT(living, 0);
    std::set<fs::path> own;
    for (int i = 0; i < 600 && own.empty(); ++i) {
        for (const auto& copy : copiesIn(folder))
            if (!abandoned.count(copy)) own.insert(copy);
        if (own.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_EQ(own.size(), 1u);
    for (const auto& copy : abandoned) EXPECT_FALSE(fs::exists(copy)) << copy << " of the killed host is still there";

    // A host that still runs keeps its copy while another host starts and ends.
    const std::string quick = "TMPDIR='" + folder.string() + "' '" + ORVANE_HOST_PATH + "' --virtual < /dev/null > /dev/null";
    ASSERT_EQ(std::system(quick.c_str()), 0);
    EXPECT_EQ(copiesIn(folder), own) << "the running host's copy must stay, the ended host's must go";

    ::kill(living, SIGKILL);
    ::waitpid(living, nullptr, 0);
    fs::remove_all(folder);
}

// Tests that a copy left by a process whose id has since gone to another
// process is reclaimed all the same: the copy names its owner's start time
// too, and the process that has the id now started at another time. The
// copy of this very test process, named with an impossible start time,
// stands for it; the copy of a host that ran to the end goes with it.
TEST(DemoDiskCopiesTest, ACopyWhoseOwnersIdWasReusedIsReclaimed) {
    const fs::path folder = fs::temp_directory_path() / ("orvane-reuse-test-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    const fs::path reused = folder / ("orvane-disk-" + std::to_string(::getpid()) + "-1-abcdef");
    fs::create_directories(reused / "Applications");

    const std::string quick = "TMPDIR='" + folder.string() + "' '" + ORVANE_HOST_PATH + "' --virtual < /dev/null > /dev/null";
    ASSERT_EQ(std::system(quick.c_str()), 0);
    EXPECT_FALSE(fs::exists(reused)) << "the id lives on in this test, which did not start at tick 1";
    EXPECT_TRUE(copiesIn(folder).empty()) << "the host that ended removed its own copy";
    fs::remove_all(folder);
}

}  // namespace
