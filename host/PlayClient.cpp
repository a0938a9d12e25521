#include "host/PlayClient.h"

#include <civetweb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace host {

PlayClient::PlayClient(mg_connection* connection, std::uint64_t id, std::size_t maxTexts)
    : connection_(connection), id_(id), maxTexts_(maxTexts) {}

PlayClient::~PlayClient() { stop(); }

void PlayClient::start() { sender_ = std::thread([this] { run(); }); }

void PlayClient::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        texts_.clear();
        latest_.clear();
        frame_.reset();
    }
    wake_.notify_all();
    if (sender_.joinable() && sender_.get_id() != std::this_thread::get_id()) sender_.join();
}

void PlayClient::offerFrame(std::shared_ptr<const PlayFrame> frame, const TileSet& changed) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_ || broken_) return;
        if (frameWaiting_) ++framesCoalesced_;
        if (!frameWaiting_ || dirty_.pixelsWide() != changed.pixelsWide() || dirty_.pixelsHigh() != changed.pixelsHigh()) {
            if (frameWaiting_) {
                dirty_ = TileSet(changed.pixelsWide(), changed.pixelsHigh());
                dirty_.markAll();
            } else {
                dirty_ = changed;
            }
        } else {
            dirty_.add(changed);
        }
        frame_ = std::move(frame);
        frameWaiting_ = true;
    }
    wake_.notify_all();
}

void PlayClient::offerLatest(const std::string& kind, const std::string& text) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_ || broken_) return;
        latest_[kind] = text;
    }
    wake_.notify_all();
}

bool PlayClient::offerText(const std::string& text) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_ || broken_) return false;
        if (texts_.size() >= maxTexts_) return false;
        texts_.push_back(text);
    }
    wake_.notify_all();
    return true;
}

std::size_t PlayClient::framesSent() const {
    std::lock_guard lock(mutex_);
    return framesSent_;
}

std::size_t PlayClient::framesCoalesced() const {
    std::lock_guard lock(mutex_);
    return framesCoalesced_;
}

void PlayClient::run() {
    for (;;) {
        std::vector<std::string> texts;
        std::shared_ptr<const PlayFrame> frame;
        TileSet tiles;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || frameWaiting_ || !latest_.empty() || !texts_.empty(); });
            if (stopping_) return;
            for (auto& [kind, text] : latest_) texts.push_back(std::move(text));
            latest_.clear();
            for (auto& text : texts_) texts.push_back(std::move(text));
            texts_.clear();
            if (frameWaiting_) {
                frame = std::move(frame_);
                tiles = std::move(dirty_);
                frameWaiting_ = false;
            }
        }
        bool ok = true;
        for (const auto& text : texts)
            if (ok) ok = mg_websocket_write(connection_, MG_WEBSOCKET_OPCODE_TEXT, text.data(), text.size()) > 0;
        // Encoded here, on this browser's thread: the main thread only drew the picture.
        if (ok && frame && tiles.any()) {
            const auto t0 = std::chrono::steady_clock::now();
            const std::string message = frameMessage(*frame, tiles);
            if (playTracing())
                std::fprintf(stderr, "encode: %.1f ms, %zu bytes\n",
                             std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count(), message.size());
            ok = mg_websocket_write(connection_, MG_WEBSOCKET_OPCODE_BINARY, message.data(), message.size()) > 0;
            std::lock_guard lock(mutex_);
            ++framesSent_;
        }
        if (!ok) {
            // The browser went away: keep nothing for it until civetweb reports the close.
            std::lock_guard lock(mutex_);
            broken_ = true;
            texts_.clear();
            latest_.clear();
            frame_.reset();
            frameWaiting_ = false;
            return;
        }
    }
}

}  // namespace host
