// Feeds arbitrary bytes to the library's entry point on a fresh simulated Mac:
// no input may crash it, leak, or produce a reply that is not JSON.
#include <cstdint>
#include <cstdlib>
#include <string>

#include <nlohmann/json.hpp>

#include "bridge/OrvaneCall.h"
#include "desktop/Desktop.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    desktop::reset(desktop::defaultScene(), desktop::Clock::manual);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string request(reinterpret_cast<const char*>(data), size);
    char* reply = orvane::orvaneCall(request.c_str());
    if (!reply) std::abort();
    if (!nlohmann::json::accept(reply)) std::abort();
    orvane::orvaneFree(reply);
    desktop::advance(0.3);
    return 0;
}
