#pragma once

// The playground's network side: civetweb serves the page's static files and
// one WebSocket per browser. It never touches the simulated Mac: what a
// browser sends is handed to the main thread through an inbox, and what the
// main thread publishes (frames, texts) waits in each client's outbox for
// that client's own sender thread, so a slow browser only falls behind.

#include <atomic>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/PlayAddress.h"
#include "host/PlayFrames.h"

struct mg_context;
struct mg_connection;

namespace host {

struct PlayLimits {
    std::size_t maxClients = 16;            // WebSocket connections at once
    std::size_t maxMessage = 16 * 1024;     // bytes of one message from a browser
    std::size_t maxInbox = 512;             // inputs waiting for the main thread
    std::size_t maxQueuedTexts = 256;       // texts waiting for one slow browser
    std::size_t eventHistory = 100;         // events a newly connected browser is shown
    int httpThreads = 24;                   // civetweb's workers (each holds one connection)
};

// Inputs from every browser, in order, for the main thread. A pointer move
// replaces a move still waiting behind it; a full inbox refuses the rest.
class PlayInbox {
public:
    explicit PlayInbox(std::size_t limit) : limit_(limit) {}
    // Network threads. Calls wake (once until the next take) when the inbox
    // was empty; false when it is full.
    bool push(nlohmann::json input);
    void setWake(std::function<void()> wake) { wake_ = std::move(wake); }
    // Main thread.
    std::deque<nlohmann::json> take();

private:
    std::mutex mutex_;
    std::deque<nlohmann::json> items_;
    bool wakePending_ = false;
    std::size_t limit_;
    std::function<void()> wake_;
};

class PlayClient;

class PlayServer {
public:
    PlayServer(PlayAddress address, PlayLimits limits, PlayInbox& inbox);
    ~PlayServer();
    PlayServer(const PlayServer&) = delete;
    PlayServer& operator=(const PlayServer&) = delete;

    // Starts listening; false with the reason when it cannot.
    bool start(std::string& error);
    void stop();
    int boundPort() const { return boundPort_; }
    std::string url() const { return address_.url(boundPort_); }

    // Main thread: a new picture and the tiles that changed since the last one.
    void publishFrame(std::shared_ptr<const PlayFrame> frame, const TileSet& changed);
    // Main thread: a text every browser gets. With a kind, only the latest of
    // that kind waits for a slow browser (and a new browser gets it at once);
    // without, each is queued (events, replies).
    void publishLatest(const std::string& kind, std::string text);
    void publishEvent(std::string text);
    // A text for one browser (a reply to what it sent).
    void sendTo(std::uint64_t client, std::string text);
    // The pictures of the last capture, served under /capture/NAME.
    void setCaptures(std::map<std::string, std::string> files);

    std::size_t clientCount() const { return clientCount_.load(); }
    // What the robustness test reads: browsers closed for a bad message, frames coalesced.
    std::size_t refusedMessages() const { return refusedMessages_.load(); }

private:
    friend struct PlayCallbacks;
    bool hostAllowed(const mg_connection* conn, bool requireOrigin) const;
    int serveHttp(mg_connection* conn);
    int acceptSocket(const mg_connection* conn);
    void socketReady(mg_connection* conn);
    int socketData(mg_connection* conn, int bits, const char* data, std::size_t length);
    void socketClosed(const mg_connection* conn);

    PlayAddress address_;
    PlayLimits limits_;
    PlayInbox& inbox_;
    mg_context* context_ = nullptr;
    bool libraryStarted_ = false;
    int boundPort_ = 0;
    std::vector<std::string> acceptedHosts_;

    mutable std::mutex mutex_;
    std::map<const mg_connection*, std::shared_ptr<PlayClient>> clients_;
    std::shared_ptr<const PlayFrame> frame_;
    std::map<std::string, std::string> latest_;
    std::deque<std::string> events_;
    std::map<std::string, std::string> captures_;
    std::uint64_t nextClient_ = 1;
    std::atomic<std::size_t> clientCount_{0};
    std::atomic<std::size_t> reserved_{0};
    std::atomic<std::size_t> refusedMessages_{0};
};

}  // namespace host
