#include "host/HostOptions.h"

#include <cstdio>
#include <string_view>

namespace host {

namespace {
constexpr const char* usage =
    "usage: orvane-host [--library PATH] [--scene FILE] [--disk DIR] [--virtual | --realtime]\n"
    "                   [--script FILE] [--demo DIR]\n";
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
        if (flag == "--virtual") { options.manualClock = true; continue; }
        if (flag == "--realtime") { options.manualClock = false; continue; }
        if (flag == "--library") {
            auto v = value();
            if (!v) break;
            options.library = *v;
            continue;
        }
        if (flag == "--scene") target = &options.scene;
        else if (flag == "--disk") target = &options.disk;
        else if (flag == "--script") target = &options.script;
        else if (flag == "--demo") target = &options.demo;
        if (!target || !(*target = value())) {
            std::fputs(usage, stderr);
            return std::nullopt;
        }
    }
    return options;
}

}  // namespace host
