#pragma once

#include <optional>
#include <string>

namespace host {

struct HostOptions {
    std::string library;  // empty: next to the host executable
    std::optional<std::string> scene;
    std::optional<std::string> disk;
    // Set by --virtual or --realtime; otherwise ORVANE_CLOCK decides.
    std::optional<bool> manualClock;
    std::optional<std::string> script;
    std::optional<std::string> demo;
};

// Reads the command line; nothing (after printing the usage) when it is malformed.
std::optional<HostOptions> parseOptions(int argc, char** argv);

}  // namespace host
