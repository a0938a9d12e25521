// Replays fuzz inputs as sessions in any build, without libFuzzer: every
// file named, and every file inside each folder named. Prints each input
// that breaks an invariant with its message and the sessions per second,
// and exits 1 when any input broke one. ORVANE_FUZZ_TRACE=1 prints every
// step as it runs.
//   build/orvane_fuzz_replay fuzz/corpus-seed fuzz/regressions

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/FuzzScene.h"
#include "fuzz/Invariant.h"
#include "fuzz/Session.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputsOf(const std::vector<std::string>& arguments) {
    std::vector<fs::path> inputs;
    for (const auto& argument : arguments) {
        std::error_code error;
        if (fs::is_directory(argument, error)) {
            std::vector<fs::path> inFolder;
            for (const auto& entry : fs::directory_iterator(argument, error))
                if (entry.is_regular_file() && entry.path().filename().string().front() != '.')
                    inFolder.push_back(entry.path());
            std::sort(inFolder.begin(), inFolder.end());
            inputs.insert(inputs.end(), inFolder.begin(), inFolder.end());
        } else {
            inputs.emplace_back(argument);
        }
    }
    return inputs;
}

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace

int main(int argc, char** argv) {
    const auto inputs = inputsOf(std::vector<std::string>(argv + 1, argv + argc));
    const char* trace = std::getenv("ORVANE_FUZZ_TRACE");
    const bool tracing = trace && *trace && *trace != '0';
    orvane::fuzz::FuzzScene scene;
    std::size_t broken = 0;
    const auto began = std::chrono::steady_clock::now();
    for (const auto& input : inputs) {
        const std::string bytes = bytesOf(input);
        std::function<void(const std::string&)> trace;
        if (tracing) trace = [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); };
        try {
            orvane::fuzz::Session(scene, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), trace)
                .run();
        } catch (const orvane::fuzz::InvariantBroken& failure) {
            ++broken;
            std::printf("broken: %s: %s\n", input.string().c_str(), failure.what());
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::printf("%zu sessions, %zu broke an invariant, %.1f s, %.1f sessions/s\n", inputs.size(), broken, seconds,
                seconds > 0 ? double(inputs.size()) / seconds : 0.0);
    return broken ? 1 : 0;
}
