#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace host {

struct HostOptions {
    std::string library;  // empty: next to the host executable
    std::optional<std::string> scene;
    std::optional<std::string> disk;
    // Set by --virtual or --realtime; otherwise ORVANE_CLOCK decides.
    std::optional<bool> manualClock;
    std::optional<std::string> script;
    std::optional<std::string> demo;
    std::optional<std::string> replay;
    // --serve [HOST:]PORT: the live playground, on loopback unless HOST says otherwise.
    std::optional<std::string> serve;
    // Exit status 1 when any reply of the session said "ok": false.
    bool strict = false;
    bool help = false;
};

// One command-line flag: how it is written and what it does in one line.
struct HostFlag {
    std::string_view flag;
    std::string_view value;  // empty for a flag that takes none
    std::string_view help;
};

std::span<const HostFlag> hostFlags();

// The text --help prints: every flag, then every verb of the simulated Mac.
std::string helpText();

// Reads the command line; nothing (after printing the usage) when it is malformed.
std::optional<HostOptions> parseOptions(int argc, char** argv);

}  // namespace host
