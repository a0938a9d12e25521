// orvane-host: loads the library like a host application, runs the main run
// loop of the simulated Mac, and passes lines from a script or standard input
// to orvane_call (JSON lines) or to the simulated Mac ("!" lines).
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "host/Demo.h"
#include "host/HostOptions.h"
#include "host/Library.h"
#include "host/Play.h"
#include "host/PlayAddress.h"
#include "host/Replay.h"
#include "host/Session.h"

namespace {

// Beside the host in the build tree; in the library folder of an installed tree.
std::string libraryNextToHost() {
    constexpr const char* name = "libOrvaneNative.so";
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return name;
    const auto beside = self.parent_path() / name;
    if (std::filesystem::exists(beside, error)) return beside.string();
    return (self.parent_path() / ORVANE_INSTALLED_LIBDIR / name).lexically_normal().string();
}

std::optional<nlohmann::json> readScene(const std::string& path) {
    std::ifstream file(path);
    if (!file) return std::nullopt;
    try {
        return nlohmann::json::parse(file);
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;
    }
}

}  // namespace

int main(int argc, char** argv) {
    auto options = host::parseOptions(argc, argv);
    if (!options) return 2;
    if (options->help) {
        std::fputs(host::helpText().c_str(), stdout);
        return 0;
    }

    // The demo's steps (and so its recorded session) are written for the
    // embedded scene; any other session takes ORVANE_SCENE as a host that only
    // loads the library would.
    const bool demoScene = options->demo || options->replay;
    nlohmann::json scene = demoScene ? desktop::defaultScene() : desktop::sceneFromEnvironment();
    if (options->scene) {
        auto loaded = readScene(*options->scene);
        if (!loaded || !loaded->is_object()) {
            std::fprintf(stderr, "orvane-host: cannot read scene %s\n", options->scene->c_str());
            return 2;
        }
        scene = std::move(*loaded);
    }
    if (options->disk) scene["disk"] = *options->disk;
    std::optional<host::PlayAddress> serve;
    if (options->serve) {
        std::string error;
        serve = host::parsePlayAddress(*options->serve, error);
        if (!serve) {
            std::fprintf(stderr, "orvane-host: --serve %s: %s\n", options->serve->c_str(), error.c_str());
            return 2;
        }
    }
    // The playground runs on the real clock: a person is watching.
    const bool manual = (!serve && options->manualClock.value_or(desktop::clockFromEnvironment() == desktop::Clock::manual)) ||
                        demoScene;
    desktop::reset(scene, manual ? desktop::Clock::manual : desktop::Clock::real);

    host::Library library(options->library.empty() ? libraryNextToHost() : options->library);
    if (options->demo) return host::runDemo(library, *options->demo);
    if (options->replay) return host::replaySession(library, *options->replay);
    if (serve) return host::runPlay(library, *serve);

    host::Session session(library, manual);
    bool anyFailed = false;
    auto print = [&anyFailed](const std::string&, const std::string& reply) {
        std::cout << reply << std::endl;
        const auto parsed = nlohmann::json::parse(reply, nullptr, false);
        if (!parsed.is_object() || (parsed.contains("ok") && parsed["ok"] == false)) anyFailed = true;
    };
    if (options->script) {
        std::ifstream script(*options->script);
        if (!script) {
            std::fprintf(stderr, "orvane-host: cannot read script %s\n", options->script->c_str());
            return 2;
        }
        session.runAll(script, print);
    } else {
        session.runAll(std::cin, print);
    }
    return options->strict && anyFailed ? 1 : 0;
}
