// Tests that every logic folder, and every folder of the simulated Mac, includes
// only the folders the architecture tables of the README allow it, platform/
// included.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TextFile.h"

namespace {

namespace fs = std::filesystem;

using LayerTable = std::map<std::string, std::set<std::string>>;

// Folder -> the folders it may include, from the rows between the markers
// <!-- NAME:begin --> and <!-- NAME:end -->; a row names its folder as
// `PREFIXfolder/`.
LayerTable layerTable(const std::string& readme, const std::string& name, const std::string& prefix) {
    LayerTable allowed;
    const auto begin = readme.find("<!-- " + name + ":begin -->");
    const auto end = readme.find("<!-- " + name + ":end -->");
    if (begin == std::string::npos || end == std::string::npos || end < begin) return allowed;
    std::istringstream rows(readme.substr(begin, end - begin));
    const std::regex row("^\\| `" + prefix + R"(([a-z]+)/` \|.*\| ([^|]*) \|$)");
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

std::vector<std::string> linesOf(const fs::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(LayerTableTest, EveryFolderIncludesOnlyWhatTheTableAllows) {
    const fs::path source = ORVANE_SOURCE_DIR;
    const auto allowed = layerTable(orvane::test::readText(source / "README.md"), "layers", "");
    ASSERT_GE(allowed.size(), 9u) << "README.md lacks the layer table between <!-- layers:begin/end -->";
    ASSERT_TRUE(allowed.count("platform"));

    // A quoted include of the form "folder/..." names a folder of the tree.
    const std::regex include(R"re(^\s*#\s*include\s*"([a-z_]+)/)re");
    int scanned = 0;
    for (const auto& [folder, folders] : allowed) {
        ASSERT_TRUE(fs::is_directory(source / folder)) << folder << "/ is in the table but not in the tree";
        for (const auto& entry : fs::recursive_directory_iterator(source / folder)) {
            if (!entry.is_regular_file()) continue;
            for (const auto& line : linesOf(entry.path())) {
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

// Tests that the folders of the simulated Mac include one another only
// downwards, as the README's second table orders them: no folder reaches up,
// and none includes the scripting API or the start-up at the top of desktop/.
TEST(LayerTableTest, EveryDesktopFolderIncludesOnlyTheLayersBelowIt) {
    const fs::path source = ORVANE_SOURCE_DIR;
    const auto allowed = layerTable(orvane::test::readText(source / "README.md"), "desktop-layers", "desktop/");
    ASSERT_GE(allowed.size(), 10u) << "README.md lacks the desktop table between <!-- desktop-layers:begin/end -->";

    // "desktop/part/..." names a part; "desktop/File.h" the top of desktop/;
    // any other "folder/..." a folder of the tree.
    const std::regex desktopInclude(R"re(^\s*#\s*include\s*"desktop/([^/"]+)(/?))re");
    const std::regex otherInclude(R"re(^\s*#\s*include\s*"([a-z_]+)/)re");
    int scanned = 0;
    for (const auto& [folder, folders] : allowed) {
        const fs::path root = source / "desktop" / folder;
        ASSERT_TRUE(fs::is_directory(root)) << "desktop/" << folder << "/ is in the table but not in the tree";
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            if (!entry.is_regular_file()) continue;
            const std::string file = fs::relative(entry.path(), source).string();
            for (const auto& line : linesOf(entry.path())) {
                std::smatch match;
                if (std::regex_search(line, match, desktopInclude)) {
                    const bool ofAPart = !match[2].str().empty();
                    EXPECT_TRUE(ofAPart)
                        << file << " includes desktop/" << match[1].str() << ", the top of desktop/, from below it";
                    EXPECT_TRUE(!ofAPart || folders.count(match[1].str()))
                        << file << " includes desktop/" << match[1].str() << "/, which desktop/" << folder << "/ may not";
                } else if (std::regex_search(line, match, otherInclude)) {
                    EXPECT_TRUE(folders.count(match[1].str()))
                        << file << " includes " << match[1].str() << "/, which desktop/" << folder << "/ may not";
                }
            }
            ++scanned;
        }
    }
    EXPECT_GT(scanned, 100);

    // Every folder of desktop/ has a row, and no two parts allow each other,
    // so that the table is an order.
    for (const auto& entry : fs::directory_iterator(source / "desktop")) {
        if (!entry.is_directory()) continue;
        EXPECT_TRUE(allowed.count(entry.path().filename().string()))
            << "desktop/" << entry.path().filename().string() << "/ has no row in the desktop table";
    }
    for (const auto& [folder, folders] : allowed) {
        for (const auto& other : folders) {
            if (other == folder || !allowed.count(other)) continue;
            EXPECT_FALSE(allowed.at(other).count(folder))
                << "desktop/" << folder << "/ and desktop/" << other << "/ may include each other";
        }
    }
}

}  // namespace
