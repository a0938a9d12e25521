#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "fuzz/FuzzScene.h"
#include "fuzz/Invariant.h"
#include "fuzz/Session.h"

namespace orvane::test {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputsIn(const fs::path& folder) {
    std::vector<fs::path> inputs;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        if (entry.is_regular_file() && entry.path().filename().string().front() != '.') inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Runs every input of a folder as the fuzz target does; a broken invariant
// fails the test with the input's name and the steps that led there.
void replay(const fs::path& folder, std::size_t atLeast) {
    auto inputs = inputsIn(folder);
    ASSERT_GE(inputs.size(), atLeast) << "inputs in " << folder;
    fuzz::FuzzScene scene;
    for (const auto& input : inputs) {
        std::string bytes = bytesOf(input);
        std::string steps;
        try {
            fuzz::Session(scene, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                          [&](const std::string& line) { steps += line + "\n"; })
                .run();
        } catch (const fuzz::InvariantBroken& broken) {
            ADD_FAILURE() << input.filename() << ": " << broken.what() << "\n" << steps;
        }
    }
}

// Tests that every seed of the corpus runs as a whole session with every invariant holding.
TEST(SessionReplayTest, SeedCorpusKeepsEveryInvariant) { replay(fs::path(ORVANE_SOURCE_DIR) / "fuzz/corpus-seed", 40); }

// Tests that every input the fuzzer once broke the library with now passes.
TEST(SessionReplayTest, RegressionInputsKeepEveryInvariant) {
    replay(fs::path(ORVANE_SOURCE_DIR) / "fuzz/regressions", 0);
}

}  // namespace
}  // namespace orvane::test
