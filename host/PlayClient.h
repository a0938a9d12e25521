#pragma once

// One browser of the playground: what waits to be sent to it, and the thread
// that sends it. Waiting frames coalesce (the tiles to send grow, the picture
// is always the newest), so a slow browser costs at most one picture and a
// bounded queue of texts, never the main thread's time.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "host/PlayFrames.h"

struct mg_connection;

namespace host {

class PlayClient {
public:
    PlayClient(mg_connection* connection, std::uint64_t id, std::size_t maxTexts);
    ~PlayClient();
    PlayClient(const PlayClient&) = delete;
    PlayClient& operator=(const PlayClient&) = delete;

    std::uint64_t id() const { return id_; }
    void start();
    // Ends the sender; what waits is dropped. Safe to call twice.
    void stop();

    void offerFrame(std::shared_ptr<const PlayFrame> frame, const TileSet& changed);
    void offerLatest(const std::string& kind, const std::string& text);
    // False (and the text dropped) when the browser has this many waiting already.
    bool offerText(const std::string& text);

    // A message arriving in fragments, kept by the connection's own network thread.
    std::string partial;
    bool partialIsText = true;

    std::size_t framesSent() const;
    std::size_t framesCoalesced() const;

private:
    void run();

    mg_connection* connection_;
    const std::uint64_t id_;
    const std::size_t maxTexts_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    bool broken_ = false;
    std::shared_ptr<const PlayFrame> frame_;
    TileSet dirty_;
    bool frameWaiting_ = false;
    std::map<std::string, std::string> latest_;
    std::deque<std::string> texts_;
    std::size_t framesSent_ = 0, framesCoalesced_ = 0;
    std::thread sender_;
};

}  // namespace host
