// Window frames under autosave names, standing in for NSWindow's frame
// autosave: the value "x y w h sx sy sw sh" under "NSWindow Frame NAME" in the
// application's preferences domain, written through the preference store (one
// atomic file write each time) and read back from the disk.

#include "desktop/windowserver/FrameAutosave.h"

#include <cmath>
#include <cstdio>
#include <mutex>
#include <sstream>

#include <nlohmann/json.hpp>

#include "platform/Preferences.h"

namespace desktop {
namespace {

constexpr const char* keyPrefix = "NSWindow Frame ";
// An application without a bundle identifier keeps its preferences under
// its executable's name.
constexpr const char* fallbackDomain = "orvane-host";

std::mutex domainMutex;
// The host's bundle identifier, as the process table last set it: asking the
// platform would start a whole desktop where only a window server runs.
std::string hostIdentifier;

std::string domain() {
    std::lock_guard lock(domainMutex);
    return hostIdentifier.empty() ? fallbackDomain : hostIdentifier;
}

std::string number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

}  // namespace

void setWindowFrameOwner(const std::string& bundleIdentifier) {
    std::lock_guard lock(domainMutex);
    hostIdentifier = bundleIdentifier;
}

std::optional<platform::Rect> savedWindowFrame(const std::string& name) {
    if (name.empty()) return std::nullopt;
    auto value = platform::preferences(domain())->copyValue(keyPrefix + name);
    if (!value || !value->is_string()) return std::nullopt;
    std::istringstream in(value->get<std::string>());
    double x, y, w, h;
    if (!(in >> x >> y >> w >> h)) return std::nullopt;
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(w) || !std::isfinite(h) || !(w > 0) || !(h > 0))
        return std::nullopt;
    return platform::Rect{x, y, w, h};
}

bool saveWindowFrame(const std::string& name, platform::Rect frame, platform::Rect screenFrame) {
    if (name.empty()) return false;
    std::string text;
    for (double v : {frame.minX(), frame.minY(), frame.width(), frame.height(), screenFrame.minX(), screenFrame.minY(),
                     screenFrame.width(), screenFrame.height()})
        text += number(v) + ' ';
    auto preferences = platform::preferences(domain());
    preferences->setValue(keyPrefix + name, nlohmann::json(text));
    return preferences->synchronize();
}

}  // namespace desktop
