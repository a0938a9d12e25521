// The stateful fuzz target: every input is a whole session on a fresh
// simulated Mac (see Session.h). A broken invariant aborts with its message,
// so the fuzzer keeps the input; ORVANE_FUZZ_TRACE=1 prints the steps.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "fuzz/FuzzScene.h"
#include "fuzz/Invariant.h"
#include "fuzz/Session.h"

namespace {

orvane::fuzz::FuzzScene* scene = nullptr;
bool tracing = false;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Lives as long as the process; its folder goes when the process ends normally.
    static orvane::fuzz::FuzzScene theScene;
    scene = &theScene;
    const char* trace = std::getenv("ORVANE_FUZZ_TRACE");
    tracing = trace && *trace && *trace != '0';
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::function<void(const std::string&)> trace;
    if (tracing) trace = [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); };
    try {
        orvane::fuzz::Session(*scene, data, size, trace).run();
    } catch (const orvane::fuzz::InvariantBroken& broken) {
        std::fprintf(stderr, "orvane fuzz: invariant broken: %s\n", broken.what());
        std::abort();
    }
    return 0;
}
