// Tests that the library a host loads exports exactly its two entry points.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

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

}  // namespace
