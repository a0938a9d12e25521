// Tests that the guide for hosts (docs/hosting.md) holds the tables the code
// holds: every command, event kind, flag of orvane-host and verb of the
// simulated Mac, exactly as the code lists them now.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "bridge/CommandTable.h"
#include "controller/EventKinds.h"
#include "desktop/scripting/VerbTable.h"
#include "docgen/DocTables.h"

namespace {

constexpr const char* regenerate = "; run `make docs` (build/orvane-doc-tables docs/hosting.md) to regenerate";

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string guide() { return readFile(std::filesystem::path(ORVANE_SOURCE_DIR) / "docs" / "hosting.md"); }

// Window numbers count up for the whole process, so a sample run after other
// tests numbers the card's window higher than make docs does in a fresh one.
std::string withoutWindowNumbers(const std::string& text) {
    static const std::regex number(R"re("cardWindowID":[0-9]+)re");
    return std::regex_replace(text, number, "\"cardWindowID\":N");
}

// Tests that each generated block of the guide is what the code gives now.
TEST(HostingGuideTest, GeneratedTablesMatchTheCode) {
    const std::string text = guide();
    ASSERT_FALSE(text.empty()) << "docs/hosting.md is missing";
    for (const auto& block : docgen::generatedBlocks()) {
        const auto content = docgen::blockContent(text, block.name);
        ASSERT_TRUE(content) << "docs/hosting.md lacks the markers <!-- " << block.name << ":begin --> and <!-- "
                             << block.name << ":end -->";
        EXPECT_EQ(withoutWindowNumbers(*content), withoutWindowNumbers(block.content)) << "the " << block.name << " table of docs/hosting.md is out of date" << regenerate;
    }
}

// Tests that the guide names every command, event kind and verb in code
// font, so that a table cut from the guide or a kind left out of the list
// of kinds cannot pass unnoticed.
TEST(HostingGuideTest, GuideNamesEveryCommandEventKindAndVerb) {
    const std::string text = guide();
    const auto commands = orvane::commandTable();
    EXPECT_EQ(commands.size(), 27u);
    for (const auto& command : commands) {
        EXPECT_NE(text.find("`" + std::string(command.name) + "`"), std::string::npos)
            << "command " << command.name << " is missing from docs/hosting.md" << regenerate;
        EXPECT_FALSE(command.summary.empty()) << command.name;
        EXPECT_FALSE(command.arguments.empty()) << command.name;
    }
    std::set<std::string> kinds;
    for (const auto& kind : orvane::eventKinds()) {
        EXPECT_TRUE(kinds.insert(std::string(kind.kind)).second) << "kind listed twice: " << kind.kind;
        EXPECT_NE(text.find("`" + std::string(kind.kind) + "`"), std::string::npos)
            << "event kind " << kind.kind << " is missing from docs/hosting.md" << regenerate;
    }
    for (const auto& verb : desktop::verbTable())
        EXPECT_NE(text.find("`!" + std::string(verb.name)), std::string::npos)
            << "verb " << verb.name << " is missing from docs/hosting.md" << regenerate;
}

// Tests that every kind an emit site of the library builds, and every kind
// the settings window names, is in the list of event kinds.
TEST(HostingGuideTest, EveryEmittedKindIsListed) {
    std::set<std::string> listed;
    for (const auto& kind : orvane::eventKinds()) listed.insert(std::string(kind.kind));

    const std::filesystem::path source = ORVANE_SOURCE_DIR;
    const std::regex literalKind(R"re(\{"kind",\s*"([A-Za-z]+)"\})re");
    int found = 0;
    for (const char* folder : {"bridge", "controller", "strip", "preview", "dock", "catalogue", "settings"}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(source / folder)) {
            if (entry.path().extension() != ".cpp") continue;
            const std::string text = readFile(entry.path());
            for (std::sregex_iterator m(text.begin(), text.end(), literalKind), end; m != end; ++m, ++found)
                EXPECT_TRUE(listed.count((*m)[1])) << entry.path() << " emits kind " << (*m)[1] << ", missing from controller/EventKinds.cpp";
        }
    }
    EXPECT_GE(found, 6) << "the emit sites were not found";

    const std::string texts = readFile(source / "settings" / "SettingsTexts.h");
    const auto begin = texts.find("namespace kind {");
    ASSERT_NE(begin, std::string::npos);
    const std::string kindBlock = texts.substr(begin, texts.find('}', begin) - begin);
    const std::regex constant(R"re(= "([A-Za-z]+)";)re");
    int settingsKinds = 0;
    for (std::sregex_iterator m(kindBlock.begin(), kindBlock.end(), constant), end; m != end; ++m, ++settingsKinds)
        EXPECT_TRUE(listed.count((*m)[1])) << "the settings window's kind " << (*m)[1] << " is missing from controller/EventKinds.cpp";
    EXPECT_EQ(settingsKinds, 19);
}

}  // namespace
