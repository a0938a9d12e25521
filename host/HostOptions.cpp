#include "host/HostOptions.h"

#include <array>
#include <cstdio>

#include "desktop/scripting/VerbTable.h"

namespace host {

namespace {

constexpr std::array<HostFlag, 11> flags{{
    {"--library", "PATH", "the library to load (default: libOrvaneNative.so beside the host or in its lib folder)"},
    {"--scene", "FILE", "the simulated Mac's scene, a JSON file (default: ORVANE_SCENE, else the embedded scene)"},
    {"--disk", "DIR", "the simulated Mac's disk root (default: ORVANE_DISK, else a fresh demo disk)"},
    {"--virtual", "", "manual clock: time moves only with !advance"},
    {"--realtime", "", "real clock (without either flag ORVANE_CLOCK decides: manual or real)"},
    {"--script", "FILE", "reads lines from FILE instead of standard input"},
    {"--demo", "DIR", "runs the built-in demo session and writes its pictures and page into DIR"},
    {"--strict", "", "exits with status 1 when any reply of the session failed (\"ok\": false), for scripts and CI"},
    {"--replay", "FILE", "replays a demo's session.jsonl on the embedded scene and checks every reply against it"},
    {"--serve", "[HOST:]PORT",
     "serves the live playground on the real clock: open http://127.0.0.1:PORT/ (8470 with make play; loopback unless HOST is given)"},
    {"--help", "", "prints this text"},
}};

constexpr const char* usage =
    "usage: orvane-host [--library PATH] [--scene FILE] [--disk DIR] [--virtual | --realtime]\n"
    "                   [--script FILE] [--strict] [--demo DIR] [--replay FILE] [--serve [HOST:]PORT] [--help]\n";

std::string padded(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text + ' ';
}

}  // namespace

std::span<const HostFlag> hostFlags() { return flags; }

std::string helpText() {
    std::string text = usage;
    text += "\nEach input line is a JSON command for orvane_call, a \"!\" verb for the simulated Mac,\n"
            "or a comment (#). Replies are printed one per line.\n\nFlags:\n";
    for (const auto& flag : flags) {
        std::string written(flag.flag);
        if (!flag.value.empty()) written += " " + std::string(flag.value);
        text += "  " + padded(written, 16) + std::string(flag.help) + "\n";
    }
    text += "\nVerbs (\"!\" lines; !help lists them too):\n";
    for (const auto& verb : desktop::verbTable())
        text += "  !" + std::string(verb.usage) + "\n      " + std::string(verb.help) + "\n";
    return text;
}

std::optional<HostOptions> parseOptions(int argc, char** argv) {
    HostOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view flag = argv[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= argc) return std::nullopt;
            return std::string(argv[++i]);
        };
        std::optional<std::string>* target = nullptr;
        if (flag == "--help" || flag == "-h") { options.help = true; continue; }
        if (flag == "--virtual") { options.manualClock = true; continue; }
        if (flag == "--realtime") { options.manualClock = false; continue; }
        if (flag == "--strict") { options.strict = true; continue; }
        std::optional<std::string> library;
        if (flag == "--library") target = &library;
        else if (flag == "--scene") target = &options.scene;
        else if (flag == "--disk") target = &options.disk;
        else if (flag == "--script") target = &options.script;
        else if (flag == "--demo") target = &options.demo;
        else if (flag == "--replay") target = &options.replay;
        else if (flag == "--serve") target = &options.serve;
        if (!target) {
            std::fprintf(stderr, "orvane-host: unknown flag %.*s\n", int(flag.size()), flag.data());
            std::fputs(usage, stderr);
            return std::nullopt;
        }
        if (!(*target = value())) {
            std::fprintf(stderr, "orvane-host: %.*s needs a value\n", int(flag.size()), flag.data());
            std::fputs(usage, stderr);
            return std::nullopt;
        }
        if (library) options.library = *library;
    }
    return options;
}

}  // namespace host
