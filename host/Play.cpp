#include "host/Play.h"

#include <algorithm>
#include <csignal>
#include <optional>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "desktop/files/Disk.h"
#include "desktop/pictures/ScreenPicture.h"
#include "desktop/runloop/MainRunLoop.h"
#include "desktop/windowserver/Pointer.h"
#include "host/Demo.h"
#include "host/PlayFrames.h"
#include "host/PlayPanel.h"
#include "host/PlayPictures.h"
#include "host/PlayRegions.h"
#include "host/PlayServer.h"
#include "host/PlayVerbs.h"
#include "platform/ui/Bitmap.h"

namespace host {

namespace {

using nlohmann::json;
using Clock = std::chrono::steady_clock;

volatile std::sig_atomic_t stopRequested = 0;
void requestStop(int) { stopRequested = 1; }

// How the loop paces itself. While the screen changes (and for a moment
// after, so that a delayed card or a fade is caught) it looks every
// frameInterval; otherwise only when input arrives or when the snapshot or
// the system's state changed (looked at every idleLook).
constexpr auto frameInterval = std::chrono::milliseconds(16);
constexpr auto hotSpell = std::chrono::milliseconds(1200);
constexpr auto idleLook = std::chrono::milliseconds(1000);
constexpr auto hotPanel = std::chrono::milliseconds(100);
constexpr double loopTurn = 1.0 / 60;
// While only parts are drawn, the rest of the screen is still drawn afresh
// once every wholeScreenEvery, a band of it at a time: one whole picture
// would hold back every pointer move that arrived while it is drawn.
constexpr auto wholeScreenEvery = std::chrono::milliseconds(500);
constexpr int refreshBands = 8;
// Input but a move may alter any part of the screen. The whole screen is
// drawn for it, the quickest way to show its effect wherever it lies, unless
// the card is open: the card animates at frame pace (it slides to the next
// window, follows the pointer), so the next refreshBands frames each add a
// band instead and none of them waits for one whole picture. A change the
// panel saw while the screen changes is swept the same way.

std::string formatNumber(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

class PlayHost {
public:
    PlayHost(const Library& library, PlayServer& server, PlayInbox& inbox)
        : library_(library), server_(server), inbox_(inbox), panel_(library, server) {}

    void prepare() {
        // Set before the server starts, so that no network thread sees it change.
        inbox_.setWake([this] { desktop::MainRunLoop::shared().postToMain([this] { drain(); }); });
        // The Mac of the demo: the strip configured, permissions granted (the
        // page revokes them), the settings window filled.
        for (const std::string& line : {std::string(R"({"command":"start"})"), demoConfigureLine(),
                                       std::string("!grant accessibility"), std::string("!grant screen"),
                                       std::string(R"({"command":"permission"})")})
            run(line);
        run(demoSettingsUpdateLine(library_));
        configuration_ = json::parse(demoConfigureLine())["args"];
        publishConfiguration();
    }

    void loop() {
        while (!stopRequested) {
            desktop::runFor(untilNextLook());
            tick();
        }
    }

private:
    std::string run(const std::string& line) {
        if (line.empty()) return {};
        if (line[0] == '!') return desktop::verb(line.substr(1)).dump();
        return library_.call(line);
    }

    // Screen points from the page (origin top-left of the first screen) to
    // the simulated Mac's (origin bottom-left).
    std::string point(const json& input) const {
        const double x = input.value("x", 0.0), y = input.value("y", 0.0);
        const auto& screen = panel_.screen().frame;
        return formatNumber(screen.minX() + x) + " " + formatNumber(screen.maxY() - y);
    }

    void drain() {
        for (auto& input : inbox_.take()) handle(input);
    }

    void handle(const json& input) {
        const std::string kind = input.value("t", "");
        const auto client = input.value("client", std::uint64_t{0});
        if (input.contains("seq") && input["seq"].is_number_unsigned())
            inputAck_ = std::max(inputAck_, input["seq"].get<std::uint32_t>());
        inputSinceFrame_ = true;
        // Anything but a pointer move may change any part of the screen, and
        // what it starts may take a moment (a card's delay, a fade).
        if (kind != "move" && kind != "joined") {
            redrawAnywhere(panel_.screen().card.has_value());
            hotUntil_ = std::max(hotUntil_, Clock::now() + hotSpell);
        }
        if (kind == "move") {
            run("!pointer " + point(input));
        } else if (kind == "click") {
            run(std::string(input.value("button", 0) == 2 ? "!rightclick " : "!click ") + point(input));
        } else if (kind == "wheel") {
            run("!scroll " + formatNumber(-input.value("dx", 0.0)) + " " + formatNumber(-input.value("dy", 0.0)) +
                " precise");
        } else if (kind == "type") {
            std::string text = input.value("text", "");
            if (text.size() > 256 || text.find_first_of("\r\n") != std::string::npos) return;
            if (text.empty()) return;
            // The page says when no text field has the focus.
            server_.sendTo(client, json{{"t", "typed"}, {"text", text}, {"reply", parsedReply(run("!type " + text))}}.dump());
        } else if (kind == "key") {
            const std::string key = input.value("key", "");
            if (key == "Escape") run("!dismiss");
            if (key == "Backspace") run("!backspace");
        } else if (kind == "line") {
            const std::string line = input.value("line", "");
            json reply;
            if (auto refused = refusedPlayLine(line)) {
                reply = {{"ok", false}, {"error", *refused}};
            } else {
                reply = parsedReply(run(line));
                noteConfiguration(line);
            }
            server_.sendTo(client, json{{"t", "reply"}, {"id", input.value("id", 0)}, {"line", line}, {"reply", reply}}.dump());
        } else if (kind == "capture") {
            capture(client);
        } else if (kind == "joined") {
            lastPanel_ = {};
        }
    }

    // configure replaces the whole configuration: the page changes one key
    // of the one it was shown.
    void noteConfiguration(const std::string& line) {
        const auto request = json::parse(line, nullptr, false);
        if (request.is_object() && request.value("command", "") == "configure" && request.contains("args") &&
            request["args"].is_object()) {
            configuration_ = request["args"];
            publishConfiguration();
        }
    }

    void publishConfiguration() {
        server_.publishLatest("configuration", json{{"t", "configuration"}, {"data", configuration_}}.dump());
    }

    // The library writes its surfaces into a folder of the simulated disk;
    // the page offers them, with the whole screen, for download.
    void capture(std::uint64_t client) {
        const std::string folder = "/tmp/orvane-play/capture-" + std::to_string(++captures_);
        std::filesystem::remove_all(desktop::resolve(folder));
        run("!mkdir " + folder);
        const json reply = parsedReply(run(json{{"command", "capture"}, {"args", {{"directory", folder}}}}.dump()));
        const int number = captures_;
        desktop::MainRunLoop::shared().after(0.4, [this, folder, number, client, reply] {
            std::map<std::string, std::string> files;
            json names = json::array();
            for (const char* name : {"strip.png", "card.png", "settings.png"}) {
                std::ifstream file(desktop::resolve(folder + "/" + name), std::ios::binary);
                if (!file) continue;
                std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
                files[std::to_string(number) + "-" + name] = std::move(bytes);
                names.push_back(std::to_string(number) + "-" + name);
            }
            if (auto screen = desktop::screenPicture()) {
                files[std::to_string(number) + "-screen.png"] = screen->pngData();
                names.push_back(std::to_string(number) + "-screen.png");
            }
            server_.setCaptures(std::move(files));
            server_.sendTo(client, json{{"t", "captured"}, {"files", names}, {"reply", reply}}.dump());
        });
    }

    // While the screen changes the loop turns until the next frame is due,
    // so a frame that took longer than the pace is followed at once by the
    // next one instead of a whole turn later.
    double untilNextLook() const {
        const auto now = Clock::now();
        if (!hot(now)) return loopTurn;
        const double wait = std::chrono::duration<double>(lastFrame_ + frameInterval - now).count();
        return std::clamp(wait, 0.001, loopTurn);
    }

    // The screen changed a moment ago, or input arrived since the last frame.
    bool hot(Clock::time_point now) const { return now < hotUntil_ || inputSinceFrame_; }

    // A change that may lie anywhere: swept band by band while something
    // keeps frame pace, otherwise drawn in one whole picture.
    void redrawAnywhere(bool keepPace) {
        if (keepPace) sweepBands_ = refreshBands;
        else wholeNeeded_ = true;
    }

    void tick() {
        const auto now = Clock::now();
        const bool hot = this->hot(now);
        if (now - lastPanel_ >= (hot ? hotPanel : idleLook)) panel(now);
        // Out of a hot spell the screen is drawn again only when what the
        // panel watches changed (a window, an app, the card's pictures ...).
        const bool due = hot ? now - lastFrame_ >= frameInterval : panel_.changed();
        // The change the panel saw may lie anywhere: out of a hot spell the
        // whole screen is drawn, within one it is swept band by band.
        if (panel_.changed()) redrawAnywhere(hot);
        if (server_.clientCount() > 0 && due) frame(now);
    }

    void frame(Clock::time_point now) {
        lastFrame_ = now;
        panel_.seen();
        const auto t0 = Clock::now();
        std::shared_ptr<platform::ui::Bitmap> picture;
        TileSet changed;
        auto parts = wholeNeeded_ || !pictures_.last() || panel_.screen().menuOpen
                         ? std::nullopt
                         : partsToDraw(lookInputs(), TileSet::tileSize);
        if (parts && (sweepBands_ > 0 || now - lastBand_ >= wholeScreenEvery / refreshBands)) {
            if (auto band = pictures_.nextBand(panel_.screen().frame, refreshBands)) parts->push_back(*band);
            lastBand_ = now;
            if (sweepBands_ > 0) --sweepBands_;
        }
        if (parts) {
            picture = pictures_.withParts(*parts, panel_.screen().frame, changed);
        } else {
            picture = pictures_.whole(changed);
            wholeNeeded_ = false;
            sweepBands_ = 0;
        }
        if (!picture) return;
        pointerDrawn_ = desktop::pointerLocation();
        cardDrawn_ = panel_.screen().card;
        if (playTracing())
            std::fprintf(stderr, "frame: %s %.1f ms, %zu tiles\n", parts ? "parts" : "whole",
                         std::chrono::duration<double, std::milli>(Clock::now() - t0).count(), changed.count());
        inputSinceFrame_ = false;
        if (changed.empty()) {
            // Nobody saw this picture: the next frame may draw into it.
            if (parts) pictures_.unseen(std::move(picture));
            return;
        }
        hotUntil_ = now + hotSpell;
        auto published = std::make_shared<PlayFrame>();
        published->bitmap = picture;
        published->sequence = ++frames_;
        published->inputAck = inputAck_;
        pictures_.published(picture);
        server_.publishFrame(std::move(published), changed);
    }

    LookInputs lookInputs() const {
        LookInputs in;
        const PlayScreen& screen = panel_.screen();
        in.screen = screen.frame;
        in.scale = pictures_.last() ? pictures_.last()->scale() : 2;
        in.menuBarBottom = screen.menuBarBottom;
        in.pointerThen = pointerDrawn_;
        in.pointerNow = desktop::pointerLocation();
        in.cardThen = cardDrawn_;
        in.cardNow = screen.card;
        return in;
    }

    // The side panel, and what a host does with the events it drains.
    void panel(Clock::time_point now) {
        lastPanel_ = now;
        for (const auto& event : panel_.refresh()) reactTo(event);
    }

    // What a host does with some of the user's choices: the settings item
    // shows the settings window, its close button hides it.
    void reactTo(const json& event) {
        const std::string kind = event.value("kind", "");
        if (kind == "settings") run(R"({"command":"settingsShow"})");
        if (kind == "hideSettings") run(R"({"command":"settingsHide"})");
    }

    const Library& library_;
    PlayServer& server_;
    PlayInbox& inbox_;
    json configuration_;
    PlayPictures pictures_;
    std::uint32_t frames_ = 0, inputAck_ = 0;
    bool inputSinceFrame_ = false;
    PlayPanel panel_;
    bool wholeNeeded_ = true;
    int sweepBands_ = 0;
    Clock::time_point lastBand_{};
    platform::Point pointerDrawn_;
    std::optional<platform::Rect> cardDrawn_;
    Clock::time_point lastFrame_{}, lastPanel_{}, hotUntil_{};
    int captures_ = 0;
};

}  // namespace

int runPlay(const Library& library, const PlayAddress& address) {
    PlayInbox inbox(PlayLimits{}.maxInbox);
    PlayServer server(address, PlayLimits{}, inbox);
    PlayHost host(library, server, inbox);
    host.prepare();
    std::string error;
    if (!server.start(error)) {
        std::fprintf(stderr, "orvane-host: play: %s\n", error.c_str());
        return 2;
    }
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    std::signal(SIGPIPE, SIG_IGN);
    if (!address.loopback())
        std::printf("play: listening on %s, reachable from other machines that can reach this address\n",
                    address.listening().c_str());
    std::printf("play: open %s\n", server.url().c_str());
    std::fflush(stdout);
    host.loop();
    server.stop();
    library.call(R"({"command":"stop"})");
    std::printf("play: stopped\n");
    return 0;
}

}  // namespace host
