// Tests that the library a host loads exports exactly its two entry points.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "orvane.h"

namespace {

// Tests that the dynamic symbol table defines orvane_call and orvane_free and nothing else.
TEST(ExportsTest, DefinesOnlyTheTwoEntryPoints) {
    const std::string command = std::string("nm -D --defined-only ") + ORVANE_LIBRARY_PATH;
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> names;
    char line[1024];
    while (fgets(line, sizeof line, pipe)) {
        std::string text(line);
        const auto space = text.find_last_of(' ');
        std::string name = text.substr(space + 1);
        while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
        names.insert(name);
    }
    ASSERT_EQ(pclose(pipe), 0);
    EXPECT_EQ(names, (std::set<std::string>{"orvane_call", "orvane_free"}));
}

// Tests that the header's version is the one the build gave the library, its
// soname (which carries the major version) and its pkg-config files.
TEST(ExportsTest, HeaderVersionAgreesWithSonameAndPackage) {
    const std::string version = std::to_string(ORVANE_VERSION_MAJOR) + "." + std::to_string(ORVANE_VERSION_MINOR) + "." +
                                std::to_string(ORVANE_VERSION_PATCH);
    EXPECT_EQ(version, ORVANE_VERSION_STRING);
    EXPECT_EQ(version, ORVANE_PROJECT_VERSION);
    EXPECT_EQ(ORVANE_VERSION, ORVANE_VERSION_MAJOR * 10000 + ORVANE_VERSION_MINOR * 100 + ORVANE_VERSION_PATCH);

    namespace fs = std::filesystem;
    const fs::path library = ORVANE_LIBRARY_PATH;
    const auto real = fs::canonical(library).filename().string();
    EXPECT_EQ(real, "libOrvaneNative.so." + version);
    FILE* pipe = popen(("readelf -d " + library.string()).c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string dynamic;
    char line[1024];
    while (fgets(line, sizeof line, pipe)) dynamic += line;
    pclose(pipe);
    EXPECT_NE(dynamic.find("[libOrvaneNative.so." + std::to_string(ORVANE_VERSION_MAJOR) + "]"), std::string::npos)
        << dynamic;

    for (const char* pc : {"orvane-native.pc", "orvane-desktop.pc"}) {
        std::ifstream file(fs::path(ORVANE_BINARY_DIR) / pc);
        std::stringstream text;
        text << file.rdbuf();
        EXPECT_NE(text.str().find("\nVersion: " + version + "\n"), std::string::npos) << pc;
    }
}

}  // namespace
