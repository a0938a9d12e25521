// The scripting verbs of the simulated Mac: what a user or the system would
// do to it (launch, quit, activate, hide an app; wake; switch spaces; change
// screens; grant a permission; let time pass; decide captures, move other
// apps' windows, take a screenshot, make a folder). Each answers with a JSON reply.

#include "desktop/scripting/Verbs.h"

#include <cmath>
#include <sstream>
#include <stdexcept>
#include <vector>

#include <nlohmann/json.hpp>

#include "desktop/apps/ProcessTable.h"
#include "desktop/apps/SimulatedNotificationCenter.h"
#include "desktop/apps/SimulatedWorkspace.h"
#include "desktop/files/DiskBundles.h"
#include "desktop/permissions/Permissions.h"
#include "desktop/runloop/MainRunLoop.h"
#include "desktop/scene/GeometryJson.h"
#include "desktop/scripting/CaptureVerbs.h"
#include "desktop/scripting/ControlVerbs.h"
#include "desktop/scripting/DesktopState.h"
#include "desktop/scripting/FileVerbs.h"
#include "desktop/scripting/VerbLine.h"
#include "desktop/scripting/VerbTable.h"
#include "desktop/windowserver/WindowServer.h"

namespace desktop {
namespace {

using nlohmann::json;

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

json appVerb(const std::string& verb, const std::string& id) {
    auto& table = ProcessTable::shared();
    if (id.empty()) return verbFailed(verb + " needs an application (bundle id, name or path)");
    if (verb == "launch") {
        auto index = table.find(id, false);
        if (!index) {
            if (table.find(id, true)) return verbFailed("already running: " + id);
            if (auto path = table.launchServices().applicationPath(id)) {
                index = table.findByPath(*path);
                if (!index) index = table.add({id, {}, *path, platform::ActivationPolicy::regular});
            } else if (isApplicationBundleOnDisk(id)) {
                index = table.add({diskBundleIdentifier(id), {}, id, platform::ActivationPolicy::regular});
            }
        }
        if (!index || !table.launch(*index)) return verbFailed("no such application: " + id);
        return verbSucceeded({{"pid", table.process(*index)->processIdentifier()}});
    }
    auto index = table.find(id, true);
    if (!index) return verbFailed("not running: " + id);
    int pid = table.process(*index)->processIdentifier();
    bool done = verb == "quit"       ? table.quit(*index)
                : verb == "activate" ? table.activate(*index)
                : verb == "hide"     ? table.hide(*index)
                                     : table.unhide(*index);
    if (!done) return verbFailed("cannot " + verb + " " + id);
    return verbSucceeded({{"pid", pid}});
}

json permissionVerb(const std::string& verb, const std::vector<std::string>& words) {
    bool grant = verb == "grant";
    const std::string usage = verb + " needs accessibility, screen, screen-preflight or screen-recording";
    if (words.size() != 2) return verbFailed(usage);
    const std::string& what = words[1];
    if (what == "accessibility") {
        permissions::setAccessibilityTrusted(grant);
    } else if (what == "screen") {
        permissions::setScreenCaptureGranted(grant);
        permissions::setScreenCaptureInForce(grant);
    } else if (what == "screen-preflight") {
        permissions::setScreenCaptureGranted(grant);
    } else if (what == "screen-recording") {
        permissions::setScreenCaptureInForce(grant);
    } else {
        return verbFailed(usage + ", not " + what);
    }
    return verbSucceeded();
}

json advanceVerb(const std::vector<std::string>& words) {
    if (words.size() != 2) return verbFailed("advance needs a number of seconds");
    const auto seconds = numberFromWord(words[1]);
    if (!seconds || *seconds < 0) return verbFailed("advance needs a non-negative number of seconds");
    MainRunLoop::shared().advance(*seconds);
    return verbSucceeded({{"now", MainRunLoop::shared().now()}});
}

// The window server owns the screens; the system then tells applications
// that the screen parameters changed.
json screensVerb(const std::string& text) {
    // Bounded nesting: writing a deeper value back out would recurse without limit.
    json screens;
    try {
        screens = json::parse(text, [](int depth, json::parse_event_t, json&) {
            if (depth > 16) throw std::out_of_range("too deep");
            return true;
        });
    } catch (const std::exception&) {
        return verbFailed("screens needs a JSON array of screens");
    }
    if (!screens.is_array()) return verbFailed("screens needs a JSON array of screens");
    auto handled = windowServerVerb({"screens", screens.dump()});
    if (!handled) return verbFailed("the window server cannot change screens");
    if (handled->is_object() && handled->value("ok", false))
        applicationNotificationCenter().post(platform::notification::screenParametersDidChange);
    return *handled;
}

// Turns the main run loop for real time without moving a manual clock, so
// that work on other threads (the accessibility scan, open completions) can
// hand its results back.
json waitVerb(const std::vector<std::string>& words) {
    if (words.size() != 2) return verbFailed("wait needs a number of seconds");
    const auto seconds = numberFromWord(words[1]);
    if (!seconds) return verbFailed("wait needs a number of seconds");
    if (*seconds < 0 || *seconds > 60) return verbFailed("wait takes 0 to 60 seconds");
    MainRunLoop::shared().runUntil([] { return false; }, *seconds);
    return verbSucceeded();
}

json helpVerb(const std::vector<std::string>& words) {
    if (words.size() != 1) return verbFailed("help takes no arguments");
    auto lines = json::array();
    for (const auto& entry : verbTable()) lines.push_back(std::string(entry.usage) + " \u2014 " + std::string(entry.help));
    return verbSucceeded({{"verbs", std::move(lines)}});
}

json dispatch(const std::string& line) {
    auto words = split(line);
    if (words.empty()) return verbFailed("empty verb");
    const std::string& verb = words[0];
    if (verb == "launch" || verb == "quit" || verb == "activate" || verb == "hide" || verb == "unhide")
        return appVerb(verb, restAfter(line, verb));
    if (verb == "wake" || verb == "space") {
        if (words.size() != 1) return verbFailed(verb + " takes no arguments");
        workspaceNotificationCenter().post(verb == "wake" ? platform::notification::didWake
                                                          : platform::notification::activeSpaceDidChange);
        return verbSucceeded();
    }
    if (verb == "motion") {
        if (words.size() != 2 || (words[1] != "reduced" && words[1] != "full")) return verbFailed("usage: motion reduced|full");
        setReduceMotion(words[1] == "reduced");
        return verbSucceeded();
    }
    if (verb == "grant" || verb == "revoke") return permissionVerb(verb, words);
    if (verb == "advance") return advanceVerb(words);
    if (verb == "wait") return waitVerb(words);
    if (verb == "help") return helpVerb(words);
    if (verb == "screens") return screensVerb(restAfter(line, verb));
    if (verb == "state") {
        if (words.size() != 1) return verbFailed("state takes no arguments");
        MainRunLoop::shared().pump();
        return verbSucceeded({{"state", desktopState()}});
    }
    if (auto handled = windowServerVerb(words)) return *handled;
    if (auto handled = controlVerb(line)) return *handled;
    if (auto handled = captureVerb(words, line)) return *handled;
    if (auto handled = fileVerb(words, line)) return *handled;
    return verbFailed("unknown verb: " + verb);
}

}  // namespace

nlohmann::json runVerb(const std::string& line) {
    json reply;
    try {
        reply = dispatch(line);
    } catch (const std::exception& e) {
        reply = verbFailed(std::string("verb failed: ") + e.what());
    }
    // What the verb set off (notifications, their observers) has happened before the reply.
    MainRunLoop::shared().pump();
    // An id echoed back may hold malformed UTF-8; the reply must stay printable JSON.
    return json::parse(reply.dump(-1, ' ', false, json::error_handler_t::replace));
}

}  // namespace desktop
