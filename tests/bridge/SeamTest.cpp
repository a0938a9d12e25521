// Tests that the library's logic reaches the system only through platform/.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

// Tests that no file of a logic folder includes a header of the simulated Mac.
TEST(SeamTest, LogicFoldersNeverIncludeTheSimulatedMac) {
    const std::filesystem::path source = ORVANE_SOURCE_DIR;
    const std::regex desktopInclude(R"(#\s*include\s*[<"](\.\./)*desktop/)");
    int scanned = 0;
    for (const char* folder : {"bridge", "controller", "strip", "preview", "dock", "catalogue", "settings"}) {
        if (!std::filesystem::exists(source / folder)) continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(source / folder)) {
            if (!entry.is_regular_file()) continue;
            std::ifstream file(entry.path());
            std::string line;
            while (std::getline(file, line)) {
                EXPECT_FALSE(std::regex_search(line, desktopInclude)) << entry.path() << ": " << line;
            }
            ++scanned;
        }
    }
    EXPECT_GT(scanned, 10);
}

}  // namespace
