#include "host/PlayPanel.h"

#include <algorithm>

#include "desktop/Desktop.h"
#include "desktop/runloop/MainRunLoop.h"
#include "host/Library.h"
#include "host/PlayServer.h"

namespace host {

using nlohmann::json;

json parsedReply(const std::string& text) {
    auto reply = json::parse(text, nullptr, false);
    return reply.is_discarded() ? json(text) : reply;
}

json PlayPanel::refresh() {
    json events = parsedReply(library_.call(R"({"command":"events"})")).value("data", json::array());
    if (!events.is_array()) events = json::array();
    for (const auto& event : events)
        server_.publishEvent(json{{"t", "event"}, {"at", desktop::MainRunLoop::shared().now()}, {"event", event}}.dump());
    readSystem();
    readSnapshot();
    return events;
}

void PlayPanel::readSnapshot() {
    const json snapshot = parsedReply(library_.call(R"({"command":"snapshot"})")).value("data", json::object());
    screen_.card.reset();
    if (snapshot.value("card", "") != "" && snapshot.contains("cardFrame") && snapshot["cardFrame"].is_object()) {
        const auto& f = snapshot["cardFrame"];  // y counts down from the top of the screen
        const double height = f.value("height", 0.0);
        screen_.card = platform::Rect{f.value("x", 0.0), screen_.frame.maxY() - f.value("y", 0.0) - height,
                                      f.value("width", 0.0), height};
    }
    std::string text = json{{"t", "snapshot"}, {"data", snapshot}}.dump();
    if (text != lastSnapshot_) {
        lastSnapshot_ = text;
        server_.publishLatest("snapshot", std::move(text));
        changed_ = true;
    }
}

void PlayPanel::readSystem() {
    const json state = desktop::state();
    json system = {{"t", "system"}};
    for (const char* key : {"appearance", "accessibility", "screenCapture", "screens", "running", "windows",
                            "menu", "keyWindow", "active", "reduceMotion", "pointer"})
        if (state.contains(key)) system[key] = state[key];
    json known = json::array();
    if (state.contains("launchServices") && state["launchServices"].is_object())
        for (const auto& [id, path] : state["launchServices"].items()) known.push_back(id);
    system["known"] = known;
    if (state.contains("screens") && !state["screens"].empty()) {
        const auto& frame = state["screens"][0]["frame"];
        screen_.frame = {frame[0].get<double>(), frame[1].get<double>(), frame[2].get<double>(), frame[3].get<double>()};
        const auto& visible = state["screens"][0]["visibleFrame"];
        // The menu bar's band is at least the status bar's thickness.
        screen_.menuBarBottom = std::min(visible[1].get<double>() + visible[3].get<double>(), screen_.frame.maxY() - 24);
    }
    screen_.menuOpen = state.contains("menu") && !state["menu"].is_null();
    std::string text = system.dump();
    if (text != lastSystem_) {
        lastSystem_ = text;
        server_.publishLatest("system", std::move(text));
        changed_ = true;
    }
}

}  // namespace host
