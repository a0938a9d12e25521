#include "host/PlayServer.h"

#include <civetweb.h>

#include <algorithm>
#include <cstring>

#include "host/PlayAssets.h"
#include "host/PlayClient.h"
#include "platform/ui/Bitmap.h"

namespace host {

// ---- inbox --------------------------------------------------------------

bool PlayInbox::push(nlohmann::json input) {
    std::function<void()> wake;
    {
        std::lock_guard lock(mutex_);
        const bool move = input.value("t", "") == "move";
        if (move && !items_.empty() && items_.back().value("t", "") == "move") {
            items_.back() = std::move(input);  // only the newest position matters
        } else {
            if (items_.size() >= limit_) return false;
            items_.push_back(std::move(input));
        }
        if (!wakePending_) {
            wakePending_ = true;
            wake = wake_;
        }
    }
    if (wake) wake();
    return true;
}

std::deque<nlohmann::json> PlayInbox::take() {
    std::lock_guard lock(mutex_);
    wakePending_ = false;
    return std::exchange(items_, {});
}

// ---- civetweb's callbacks ----------------------------------------------

struct PlayCallbacks {
    static PlayServer& server(const mg_connection* conn) {
        return *static_cast<PlayServer*>(mg_get_request_info(conn)->user_data);
    }
    static int http(mg_connection* conn, void*) { return server(conn).serveHttp(conn); }
    static int connect(const mg_connection* conn, void*) { return server(conn).acceptSocket(conn); }
    static void ready(mg_connection* conn, void*) { server(conn).socketReady(conn); }
    static int data(mg_connection* conn, int bits, char* data, size_t length, void*) {
        return server(conn).socketData(conn, bits, data, length);
    }
    static void close(const mg_connection* conn, void*) { server(conn).socketClosed(conn); }
    // civetweb's own complaints go to stderr once, prefixed like the host's.
    static int log(const mg_connection*, const char* message) {
        std::fprintf(stderr, "orvane-host: play: %s\n", message);
        return 1;
    }
};

PlayServer::PlayServer(PlayAddress address, PlayLimits limits, PlayInbox& inbox)
    : address_(std::move(address)), limits_(limits), inbox_(inbox) {}

PlayServer::~PlayServer() { stop(); }

bool PlayServer::start(std::string& error) {
    mg_init_library(MG_FEATURES_WEBSOCKET);
    libraryStarted_ = true;
    if (!mg_check_feature(MG_FEATURES_WEBSOCKET)) {
        error = "this civetweb was built without WebSocket support";
        return false;
    }
    const std::string ports = address_.listening();
    const std::string threads = std::to_string(limits_.httpThreads);
    // Headers of one request (civetweb refuses larger ones with 413).
    const char* options[] = {"listening_ports", ports.c_str(),
                             "num_threads", threads.c_str(),
                             "max_request_size", "8192",
                             "request_timeout_ms", "10000",
                             // A silent browser is pinged; one that vanished is dropped.
                             "websocket_timeout_ms", "15000",
                             "enable_websocket_ping_pong", "yes",
                             "enable_directory_listing", "no",
                             nullptr};
    mg_callbacks callbacks{};
    callbacks.log_message = PlayCallbacks::log;
    context_ = mg_start(&callbacks, this, options);
    if (!context_) {
        error = "cannot listen on " + ports + " (in use, or not an address of this machine)";
        return false;
    }
    mg_server_port bound[4]{};
    const int count = mg_get_server_ports(context_, 4, bound);
    boundPort_ = count > 0 ? bound[0].port : address_.port;
    acceptedHosts_ = address_.acceptedHosts(boundPort_);
    mg_set_websocket_handler(context_, "/socket", PlayCallbacks::connect, PlayCallbacks::ready, PlayCallbacks::data,
                             PlayCallbacks::close, nullptr);
    mg_set_request_handler(context_, "/", PlayCallbacks::http, nullptr);
    return true;
}

void PlayServer::stop() {
    if (context_) {
        // civetweb calls the close handler of every open socket before it returns.
        mg_stop(context_);
        context_ = nullptr;
        std::lock_guard lock(mutex_);
        for (auto& [conn, client] : clients_) client->stop();
        clients_.clear();
    }
    if (libraryStarted_) mg_exit_library();
    libraryStarted_ = false;
}

bool PlayServer::hostAllowed(const mg_connection* conn, bool requireOrigin) const {
    const char* hostHeader = mg_get_header(conn, "Host");
    if (!hostHeader) return false;
    std::string hostValue = hostHeader;
    std::transform(hostValue.begin(), hostValue.end(), hostValue.begin(), ::tolower);
    if (std::find(acceptedHosts_.begin(), acceptedHosts_.end(), hostValue) == acceptedHosts_.end()) return false;
    const char* origin = mg_get_header(conn, "Origin");
    if (!origin) return !requireOrigin;
    std::string originValue = origin;
    std::transform(originValue.begin(), originValue.end(), originValue.begin(), ::tolower);
    for (const auto& accepted : acceptedHosts_)
        if (originValue == "http://" + accepted) return true;
    return false;
}

namespace {

int refuse(mg_connection* conn, int status, const char* why) {
    mg_send_http_error(conn, status, "%s\n", why);
    return status;
}

}  // namespace

int PlayServer::serveHttp(mg_connection* conn) {
    const mg_request_info* request = mg_get_request_info(conn);
    if (!hostAllowed(conn, /*requireOrigin=*/false)) return refuse(conn, 403, "this address is not the one served");
    const std::string method = request->request_method ? request->request_method : "";
    if (method != "GET" && method != "HEAD") return refuse(conn, 405, "only GET");
    const std::string path = request->local_uri ? request->local_uri : "/";

    std::string body, type;
    if (path.rfind("/capture/", 0) == 0) {
        std::lock_guard lock(mutex_);
        auto found = captures_.find(path.substr(std::strlen("/capture/")));
        if (found == captures_.end()) return refuse(conn, 404, "no such picture");
        body = found->second;
        type = "image/png";
    } else if (const PlayAsset* asset = findPlayAsset(path)) {
        body = asset->body;
        type = asset->type;
    } else {
        return refuse(conn, 404, "not found");
    }
    mg_response_header_start(conn, 200);
    mg_response_header_add(conn, "Content-Type", type.c_str(), -1);
    mg_response_header_add(conn, "Content-Length", std::to_string(body.size()).c_str(), -1);
    mg_response_header_add(conn, "Cache-Control", "no-store", -1);
    mg_response_header_add(conn, "X-Content-Type-Options", "nosniff", -1);
    mg_response_header_add(conn, "Referrer-Policy", "no-referrer", -1);
    // Nothing from elsewhere: the page runs only its own files.
    mg_response_header_add(conn, "Content-Security-Policy",
                           "default-src 'self'; img-src 'self' blob: data:; connect-src 'self'; "
                           "frame-ancestors 'none'; base-uri 'none'; form-action 'none'",
                           -1);
    mg_response_header_send(conn);
    if (method == "GET") mg_write(conn, body.data(), body.size());
    return 200;
}

int PlayServer::acceptSocket(const mg_connection* conn) {
    // Another page in the same browser sends its own Origin: refused here.
    if (!hostAllowed(conn, /*requireOrigin=*/true)) return 1;
    if (reserved_.fetch_add(1) >= limits_.maxClients) {
        reserved_.fetch_sub(1);
        return 1;
    }
    return 0;
}

void PlayServer::socketReady(mg_connection* conn) {
    std::shared_ptr<PlayClient> client;
    std::vector<std::string> texts;
    std::shared_ptr<const PlayFrame> frame;
    {
        std::lock_guard lock(mutex_);
        client = std::make_shared<PlayClient>(conn, nextClient_++, limits_.maxQueuedTexts);
        clients_[conn] = client;
        clientCount_ = clients_.size();
        for (const auto& [kind, text] : latest_) client->offerLatest(kind, text);
        for (const auto& event : events_) client->offerText(event);
        frame = frame_;
    }
    client->offerText(nlohmann::json{{"t", "welcome"}, {"client", client->id()}}.dump());
    if (frame) {
        TileSet all(frame->bitmap->pixelsWide(), frame->bitmap->pixelsHigh());
        all.markAll();
        client->offerFrame(frame, all);
    }
    client->start();
    inbox_.push({{"t", "joined"}, {"client", client->id()}});
}

int PlayServer::socketData(mg_connection* conn, int bits, const char* data, std::size_t length) {
    std::shared_ptr<PlayClient> client;
    {
        std::lock_guard lock(mutex_);
        auto found = clients_.find(conn);
        if (found == clients_.end()) return 0;
        client = found->second;
    }
    const int opcode = bits & 0x0f;
    const bool final = (bits & 0x80) != 0;
    if (opcode == MG_WEBSOCKET_OPCODE_PING || opcode == MG_WEBSOCKET_OPCODE_PONG) return 1;
    if (opcode == MG_WEBSOCKET_OPCODE_CONNECTION_CLOSE) return 0;
    auto refuseMessage = [&] {
        ++refusedMessages_;
        client->partial.clear();
        return 0;  // closes this browser's connection only
    };
    if (opcode == MG_WEBSOCKET_OPCODE_TEXT || opcode == MG_WEBSOCKET_OPCODE_BINARY) {
        client->partial.clear();
        client->partialIsText = opcode == MG_WEBSOCKET_OPCODE_TEXT;
    } else if (opcode != MG_WEBSOCKET_OPCODE_CONTINUATION) {
        return refuseMessage();
    }
    if (client->partial.size() + length > limits_.maxMessage) return refuseMessage();
    client->partial.append(data, length);
    if (!final) return 1;
    std::string message = std::exchange(client->partial, {});
    if (!client->partialIsText) return refuseMessage();
    auto input = nlohmann::json::parse(message, nullptr, /*allow_exceptions=*/false);
    if (!input.is_object() || !input.contains("t") || !input["t"].is_string()) return refuseMessage();
    input["client"] = client->id();
    // A browser that floods the inbox is cut off; the others go on.
    if (!inbox_.push(std::move(input))) return refuseMessage();
    return 1;
}

void PlayServer::socketClosed(const mg_connection* conn) {
    std::shared_ptr<PlayClient> client;
    {
        std::lock_guard lock(mutex_);
        auto found = clients_.find(conn);
        if (found != clients_.end()) {
            client = found->second;
            clients_.erase(found);
        }
        clientCount_ = clients_.size();
    }
    // Only a socket whose connect handler accepted it holds a reservation;
    // such a socket always reached the ready handler.
    if (client) {
        reserved_.fetch_sub(1);
        client->stop();
    }
}

void PlayServer::publishFrame(std::shared_ptr<const PlayFrame> frame, const TileSet& changed) {
    std::lock_guard lock(mutex_);
    frame_ = frame;
    for (auto& [conn, client] : clients_) client->offerFrame(frame, changed);
}

void PlayServer::publishLatest(const std::string& kind, std::string text) {
    std::lock_guard lock(mutex_);
    for (auto& [conn, client] : clients_) client->offerLatest(kind, text);
    latest_[kind] = std::move(text);
}

void PlayServer::publishEvent(std::string text) {
    std::lock_guard lock(mutex_);
    for (auto& [conn, client] : clients_) client->offerText(text);
    events_.push_back(std::move(text));
    while (events_.size() > limits_.eventHistory) events_.pop_front();
}

void PlayServer::sendTo(std::uint64_t id, std::string text) {
    std::lock_guard lock(mutex_);
    for (auto& [conn, client] : clients_)
        if (client->id() == id) client->offerText(text);
}

void PlayServer::setCaptures(std::map<std::string, std::string> files) {
    std::lock_guard lock(mutex_);
    captures_ = std::move(files);
}

}  // namespace host
