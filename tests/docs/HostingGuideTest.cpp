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
#include "desktop/scripting/VerbTable.h"
#include "docgen/DocTables.h"
#include "model/EventKinds.h"

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
        EXPECT_TRUE(kinds.insert(std::string(kind.name)).second) << "kind listed twice: " << kind.name;
        EXPECT_NE(text.find("`" + std::string(kind.name) + "`"), std::string::npos)
            << "event kind " << kind.name << " is missing from docs/hosting.md" << regenerate;
    }
    for (const auto& verb : desktop::verbTable())
        EXPECT_NE(text.find("`!" + std::string(verb.name)), std::string::npos)
            << "verb " << verb.name << " is missing from docs/hosting.md" << regenerate;
}

// Tests that no file of the library writes an event record's kind itself,
// so every record comes from model/EventRecords.cpp and its kind is listed,
// and that the list names the settings window's kinds.
TEST(HostingGuideTest, EveryRecordIsMadeFromTheListOfKinds) {
    const std::filesystem::path source = ORVANE_SOURCE_DIR;
    const std::regex kindKey(R"re(\{\s*("kind"|key::kind|kindKey)\s*,)re");
    const auto home = source / "model" / "EventRecords.cpp";
    int files = 0;
    int atHome = 0;
    for (const char* folder : {"bridge", "controller", "strip", "preview", "dock", "catalogue", "settings", "model"}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(source / folder)) {
            if (entry.path().extension() != ".cpp" && entry.path().extension() != ".h") continue;
            ++files;
            const std::string text = readFile(entry.path());
            for (std::sregex_iterator m(text.begin(), text.end(), kindKey), end; m != end; ++m) {
                if (entry.path() == home) {
                    ++atHome;
                    continue;
                }
                ADD_FAILURE() << entry.path() << " builds an event record itself (" << m->str()
                              << "); make it with a function of model/EventRecords.h";
            }
        }
    }
    EXPECT_GE(files, 50) << "the library's sources were not found";
    EXPECT_EQ(atHome, 1) << "model/EventRecords.cpp was expected to write the kind in one place";

    int settingsKinds = 0;
    for (const auto& kind : orvane::eventKinds()) settingsKinds += kind.fromSettingsWindow;
    EXPECT_EQ(settingsKinds, 19);
}

}  // namespace
