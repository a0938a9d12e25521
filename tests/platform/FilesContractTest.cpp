// Contract tests of platform::Files: the directory walk's rules and the
// atomic write, on folders the harness makes in the scratch home.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "tests/platform/ContractHarness.h"

namespace {

using namespace orvane::contract;

class PlatformContractFiles : public ::testing::Test {
protected:
    void SetUp() override {
        contractReset();
        root = platform::files().homeDirectory() + "/ContractApps";
    }

    std::vector<std::string> walk(const std::string& from) {
        std::vector<std::string> seen;
        platform::files().walk(from, [&](const std::string& path) { seen.push_back(path); });
        std::sort(seen.begin(), seen.end());  // the platform promises no order
        return seen;
    }

    void file(const std::string& path) { ASSERT_TRUE(platform::files().writeFile(path, "x")) << path; }

    std::string root;
};

// Tests that the walk reports files, folders and packages below the root,
// does not enter packages, neither reports nor enters hidden entries, and
// reports nothing for a missing root.
TEST_F(PlatformContractFiles, WalkReportsPackagesButSkipsTheirContentsAndHiddenEntries) {
    contractMakeFolder(root + "/Tools/Deep");
    contractMakeFolder(root + "/Editor.app/Contents/MacOS");
    contractMakeFolder(root + "/.hidden/Inside.app");
    file(root + "/readme.txt");
    file(root + "/.DS_Store");
    file(root + "/Tools/Deep/Viewer.txt");
    file(root + "/Editor.app/Contents/Info.plist");

    EXPECT_EQ(walk(root), (std::vector<std::string>{root + "/Editor.app", root + "/Tools", root + "/Tools/Deep",
                                                    root + "/Tools/Deep/Viewer.txt", root + "/readme.txt"}));
    EXPECT_TRUE(walk(root + "/Missing").empty());
    EXPECT_TRUE(platform::files().exists(root + "/.hidden/Inside.app")) << "hidden entries exist, the walk skips them";
}

// Tests that an atomic write over a file succeeds, leaves no other file in
// the folder, and fails without creating a missing folder.
TEST_F(PlatformContractFiles, AtomicWriteLeavesNoTemporaryFileAndNeedsItsFolder) {
    contractMakeFolder(root);
    const std::string path = root + "/state.json";
    ASSERT_TRUE(platform::files().writeFile(path, "old"));
    ASSERT_TRUE(platform::files().writeFileAtomically(path, "new contents"));
    EXPECT_EQ(walk(root), (std::vector<std::string>{path})) << "no temporary file is left";
    EXPECT_FALSE(platform::files().writeFileAtomically(root + "/Missing/state.json", "x"));
    EXPECT_FALSE(platform::files().exists(root + "/Missing"));
}

}  // namespace
