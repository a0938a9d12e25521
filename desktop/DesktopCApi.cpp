// The C face of the simulated Mac's scripting API, for hosts written in any
// language; exceptions never cross it.

#include "orvane_desktop.h"

#include <cstdlib>
#include <cstring>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "desktop/Startup.h"
#include "desktop/pictures/ScreenPicture.h"

namespace {

char* copyOut(const std::string& text) {
    char* out = static_cast<char*>(std::malloc(text.size() + 1));
    if (out) std::memcpy(out, text.c_str(), text.size() + 1);
    return out;
}

}  // namespace

extern "C" int orvane_desktop_reset(const char* sceneJson, int manual) {
    try {
        auto clock = manual ? desktop::Clock::manual : desktop::Clock::real;
        if (!sceneJson) {
            desktop::reset(desktop::defaultScene(), clock);
            return 1;
        }
        auto scene = nlohmann::json::parse(sceneJson, nullptr, false);
        if (scene.is_discarded() || !scene.is_object()) return 0;
        desktop::reset(scene, clock);
        return 1;
    } catch (...) {
        return 0;
    }
}

extern "C" void orvane_desktop_advance(double seconds) {
    try {
        desktop::advance(seconds);
    } catch (...) {
    }
}

extern "C" void orvane_desktop_run_for(double seconds) {
    try {
        desktop::runFor(seconds);
    } catch (...) {
    }
}

extern "C" char* orvane_desktop_verb(const char* line) {
    try {
        auto reply = desktop::verb(line ? line : "");
        return copyOut(reply.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
    } catch (...) {
        return copyOut(R"({"error":"verb failed","ok":false})");
    }
}

extern "C" int orvane_desktop_screenshot(const char* path) {
    try {
        if (!path || !*path) return 0;
        desktop::ensureStarted();
        return desktop::writeScreenPicture(path) ? 0 : 1;
    } catch (...) {
        return 0;
    }
}

extern "C" void orvane_desktop_free(char* reply) { std::free(reply); }
