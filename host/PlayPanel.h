#pragma once

// The playground's side panel: the library's events and snapshot and the
// simulated system's state, read on the main thread and published to the
// browsers when they change. What the frame loop needs to know of the screen
// (its frame, the menu bar, an open menu, the card) comes from the same reads.

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "platform/Geometry.h"

namespace host {

class Library;
class PlayServer;

// The first screen as the panel last saw it (points, origin bottom-left).
struct PlayScreen {
    platform::Rect frame{0, 0, 1512, 982};
    double menuBarBottom = 945;  // the y where the menu bar's band begins
    bool menuOpen = false;
    std::optional<platform::Rect> card;  // the open card's frame
};

class PlayPanel {
public:
    PlayPanel(const Library& library, PlayServer& server) : library_(library), server_(server) {}

    // Drains the library's events, publishing each, and publishes the
    // snapshot and the system's state when they changed. Returns the events
    // drained; changed() says whether the snapshot or the state changed.
    nlohmann::json refresh();

    bool changed() const { return changed_; }
    void seen() { changed_ = false; }
    const PlayScreen& screen() const { return screen_; }

private:
    void readSnapshot();
    void readSystem();

    const Library& library_;
    PlayServer& server_;
    PlayScreen screen_;
    bool changed_ = true;
    std::string lastSnapshot_, lastSystem_;
};

// A reply of the library or a verb as the page receives it: its JSON, or
// the text itself when it is not JSON.
nlohmann::json parsedReply(const std::string& text);

}  // namespace host
