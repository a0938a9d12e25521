// Tests that every logic folder includes only the folders the architecture
// table of the README allows it, platform/ included.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "tests/support/TextFile.h"

namespace {

namespace fs = std::filesystem;

// Folder -> the folders it may include, from the rows between the markers.
std::map<std::string, std::set<std::string>> layerTable(const std::string& readme) {
    std::map<std::string, std::set<std::string>> allowed;
    const auto begin = readme.find("<!-- layers:begin -->");
    const auto end = readme.find("<!-- layers:end -->");
    if (begin == std::string::npos || end == std::string::npos || end < begin) return allowed;
    std::istringstream rows(readme.substr(begin, end - begin));
    const std::regex row(R"(^\| `([a-z]+)/` \|.*\| ([^|]*) \|$)");
    const std::regex word(R"([a-z]+)");
    for (std::string line; std::getline(rows, line);) {
        std::smatch match;
        if (!std::regex_match(line, match, row)) continue;
        auto& folders = allowed[match[1].str()];
        folders.insert(match[1].str());
        const std::string list = match[2].str();
        if (list.find('(') != std::string::npos) continue;  // "(nothing else)"
        for (std::sregex_iterator w(list.begin(), list.end(), word), none; w != none; ++w) folders.insert(w->str());
    }
    return allowed;
}

TEST(LayerTableTest, EveryFolderIncludesOnlyWhatTheTableAllows) {
    const fs::path source = ORVANE_SOURCE_DIR;
    const auto allowed = layerTable(orvane::test::readText(source / "README.md"));
    ASSERT_GE(allowed.size(), 9u) << "README.md lacks the layer table between <!-- layers:begin/end -->";
    ASSERT_TRUE(allowed.count("platform"));

    // A quoted include of the form "folder/..." names a folder of the tree.
    const std::regex include(R"re(^\s*#\s*include\s*"([a-z_]+)/)re");
    int scanned = 0;
    for (const auto& [folder, folders] : allowed) {
        ASSERT_TRUE(fs::is_directory(source / folder)) << folder << "/ is in the table but not in the tree";
        for (const auto& entry : fs::recursive_directory_iterator(source / folder)) {
            if (!entry.is_regular_file()) continue;
            std::ifstream file(entry.path());
            std::string line;
            while (std::getline(file, line)) {
                std::smatch match;
                if (!std::regex_search(line, match, include)) continue;
                EXPECT_TRUE(folders.count(match[1].str()))
                    << fs::relative(entry.path(), source).string() << " includes " << match[1].str() << "/, which "
                    << folder << "/ may not";
            }
            ++scanned;
        }
    }
    EXPECT_GT(scanned, 100);

    // Every logic folder of the tree has a row.
    for (const char* folder : {"bridge", "controller", "strip", "preview", "dock", "catalogue", "settings", "model"})
        EXPECT_TRUE(allowed.count(folder)) << folder << "/ has no row in the layer table";
}

}  // namespace
