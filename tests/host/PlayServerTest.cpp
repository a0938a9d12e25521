// The playground's server on its own, driven from this thread as the main
// thread drives it: refused hosts and origins, and a bounded run of bad,
// many, vanishing and stalled browsers while one good browser keeps
// receiving frames and the process's memory stays level.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <civetweb.h>
#include <gtest/gtest.h>

#include "host/PlayAddress.h"
#include "host/PlayFrames.h"
#include "host/PlayServer.h"
#include "platform/ui/Bitmap.h"

namespace {

using namespace std::chrono_literals;

// A TCP connection to the server, for what a browser would never send.
class RawSocket {
public:
    explicit RawSocket(int port, int receiveBuffer = 0) {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        if (receiveBuffer > 0) setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        timeval timeout{2, 0};
        setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawSocket() { close(); }
    void close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }
    bool connected() const { return connected_; }
    void send(const std::string& bytes) {
        std::size_t sent = 0;
        while (fd_ >= 0 && sent < bytes.size()) {
            auto n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) return;
            sent += static_cast<std::size_t>(n);
        }
    }
    // What arrives until the peer closes, the timeout passes or limit bytes came.
    std::string receive(std::size_t limit = 1 << 20) {
        std::string all;
        char buffer[4096];
        while (all.size() < limit) {
            auto n = ::recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            all.append(buffer, static_cast<std::size_t>(n));
        }
        return all;
    }
    ssize_t read(void* into, std::size_t length) { return ::recv(fd_, into, length, 0); }
    void shutdownBoth() {
        if (fd_ >= 0) ::shutdown(fd_, SHUT_RDWR);
    }
    // True when the server closed the connection (a read returns 0 or fails).
    // Waits up to 20 s: on a loaded machine the server's thread may be slow
    // to run, and only a connection left open that long counts as kept.
    bool closedByServer() {
        char buffer[4096];
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            auto n = ::recv(fd_, buffer, sizeof buffer, 0);
            if (n == 0) return true;
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return true;
        }
        return false;
    }

private:
    int fd_ = -1;
    bool connected_ = false;
};

std::string upgrade(int port, const std::string& origin) {
    return "GET /socket HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\nOrigin: " + origin +
           "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
           "Sec-WebSocket-Version: 13\r\n\r\n";
}

// One masked client frame (the mask is zero, which leaves the payload as it is).
std::string clientFrame(int opcode, const std::string& payload) {
    std::string frame;
    frame.push_back(static_cast<char>(0x80 | opcode));
    const std::size_t n = payload.size();
    if (n < 126) {
        frame.push_back(static_cast<char>(0x80 | n));
    } else if (n < 65536) {
        frame.push_back(static_cast<char>(0x80 | 126));
        frame.push_back(static_cast<char>(n >> 8));
        frame.push_back(static_cast<char>(n & 0xff));
    } else {
        frame.push_back(static_cast<char>(0x80 | 127));
        for (int shift = 56; shift >= 0; shift -= 8) frame.push_back(static_cast<char>((n >> shift) & 0xff));
    }
    frame.append(4, '\0');
    return frame + payload;
}

std::string statusLine(int port, const std::string& host, const std::string& path = "/") {
    RawSocket socket(port);
    socket.send("GET " + path + " HTTP/1.1\r\nHost: " + host + "\r\nConnection: close\r\n\r\n");
    auto reply = socket.receive(256);
    return reply.substr(0, reply.find("\r\n"));
}

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

// A good browser: reads every message the server sends, counting frames.
struct GoodBrowser {
    std::atomic<int> frames{0}, texts{0};
    std::atomic<bool> closed{false};
    std::unique_ptr<RawSocket> socket;
    std::thread reader;

    bool open(int port) {
        socket = std::make_unique<RawSocket>(port);
        socket->send(upgrade(port, "http://127.0.0.1:" + std::to_string(port)));
        std::string reply;
        while (reply.find("\r\n\r\n") == std::string::npos) {
            char c;
            if (socket->read(&c, 1) != 1) return false;
            reply.push_back(c);
        }
        if (reply.find(" 101 ") == std::string::npos) return false;
        reader = std::thread([this] { run(); });
        return true;
    }
    void run() {
        for (;;) {
            unsigned char head[2];
            if (!readAll(head, 2)) break;
            std::uint64_t length = head[1] & 0x7f;
            if (length == 126 || length == 127) {
                unsigned char extended[8];
                const int bytes = length == 126 ? 2 : 8;
                if (!readAll(extended, bytes)) break;
                length = 0;
                for (int i = 0; i < bytes; ++i) length = (length << 8) | extended[i];
            }
            std::string payload(length, '\0');
            if (length > 0 && !readAll(payload.data(), length)) break;
            const int opcode = head[0] & 0x0f;
            if (opcode == 2) ++frames;
            if (opcode == 1) ++texts;
            if (opcode == 8) break;
        }
        closed = true;
    }
    bool readAll(void* into, std::size_t length) {
        auto* at = static_cast<char*>(into);
        while (length > 0) {
            const auto n = socket->read(at, length);
            if (n <= 0) {
                if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && !stopping) continue;
                return false;
            }
            at += n;
            length -= static_cast<std::size_t>(n);
        }
        return true;
    }
    std::atomic<bool> stopping{false};
    ~GoodBrowser() {
        stopping = true;
        if (socket) socket->shutdownBoth();
        if (reader.joinable()) reader.join();
    }
};

// Generous, since only a failing condition waits it out: a loaded machine
// must not turn a slow thread into a failure.
bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 20000ms) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) return true;
        std::this_thread::sleep_for(10ms);
    }
    return condition();
}

class PlayServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        host::PlayAddress address;
        address.port = 0;
        server = std::make_unique<host::PlayServer>(address, host::PlayLimits{}, inbox);
        std::string error;
        ASSERT_TRUE(server->start(error)) << error;
        port = server->boundPort();
    }
    void TearDown() override { server->stop(); }

    // A screen-sized picture whose pixels depend on n, so that every frame changes.
    std::shared_ptr<const host::PlayFrame> frame(std::uint32_t n) {
        auto bitmap = std::make_shared<platform::ui::Bitmap>(1512, 982, platform::Size{756, 491});
        for (std::size_t i = 0; i < bitmap->pixels().size(); ++i)
            bitmap->pixels()[i] = 0xff000000u | static_cast<std::uint32_t>((i * 2654435761u + n * 40503u) & 0xffffffu);
        auto published = std::make_shared<host::PlayFrame>();
        published->bitmap = bitmap;
        published->sequence = n;
        return published;
    }
    void publish(std::uint32_t n) {
        auto next = frame(n);
        server->publishFrame(next, host::changedTiles(nullptr, *next->bitmap));
    }

    host::PlayInbox inbox{512};
    std::unique_ptr<host::PlayServer> server;
    int port = 0;
};

TEST_F(PlayServerTest, RefusesAnotherHostAndServesItsOwn) {
    const std::string own = "127.0.0.1:" + std::to_string(port);
    EXPECT_EQ(statusLine(port, own), "HTTP/1.1 200 OK");
    EXPECT_EQ(statusLine(port, "localhost:" + std::to_string(port)), "HTTP/1.1 200 OK");
    EXPECT_EQ(statusLine(port, own, "/play.js"), "HTTP/1.1 200 OK");
    EXPECT_EQ(statusLine(port, "evil.example:" + std::to_string(port)).substr(0, 12), "HTTP/1.1 403");
    EXPECT_EQ(statusLine(port, "127.0.0.1:1").substr(0, 12), "HTTP/1.1 403");
    EXPECT_EQ(statusLine(port, own, "/nothing-here").substr(0, 12), "HTTP/1.1 404");
    EXPECT_EQ(statusLine(port, own, "/capture/../../etc/passwd").substr(0, 12), "HTTP/1.1 404");
}

TEST_F(PlayServerTest, RefusesASocketFromAnotherOrigin) {
    RawSocket other(port);
    other.send(upgrade(port, "http://evil.example"));
    EXPECT_EQ(other.receive(64).find("101"), std::string::npos);
    RawSocket own(port);
    own.send(upgrade(port, "http://127.0.0.1:" + std::to_string(port)));
    EXPECT_NE(own.receive(64).find("101 Switching Protocols"), std::string::npos);
}

TEST_F(PlayServerTest, HandsInputToTheInboxAndCollapsesPointerMoves) {
    RawSocket browser(port);
    browser.send(upgrade(port, "http://127.0.0.1:" + std::to_string(port)));
    ASSERT_NE(browser.receive(64).find("101"), std::string::npos);
    for (int i = 0; i < 50; ++i) browser.send(clientFrame(1, R"({"t":"move","x":)" + std::to_string(i) + R"(,"y":5,"seq":1})"));
    browser.send(clientFrame(1, R"({"t":"click","x":1,"y":2})"));
    std::vector<nlohmann::json> inputs;
    ASSERT_TRUE(eventually([&] {
        for (auto& input : inbox.take()) inputs.push_back(input);
        return !inputs.empty() && inputs.back().value("t", "") == "click";
    }));
    int moves = 0;
    for (const auto& input : inputs) moves += input.value("t", "") == "move";
    EXPECT_LT(moves, 50) << "moves waiting behind each other collapse";
    EXPECT_GE(moves, 1);
}

TEST_F(PlayServerTest, BadBrowsersAreCutOffWhileAGoodOneKeepsGettingFramesAndMemoryStaysLevel) {
    const std::string origin = "http://127.0.0.1:" + std::to_string(port);
    GoodBrowser good;
    ASSERT_TRUE(good.open(port));
    ASSERT_TRUE(eventually([&] { return server->clientCount() == 1; }));
    std::uint32_t sequence = 0;
    publish(++sequence);
    ASSERT_TRUE(eventually([&] { return good.frames.load() >= 1; }));

    // A browser that never reads: its sender blocks, the others go on.
    RawSocket stalled(port, 4096);
    stalled.send(upgrade(port, origin));

    long settled = 0;
    constexpr int rounds = 12;
    for (int round = 0; round < rounds; ++round) {
        // Malformed, binary and oversized messages each close their own connection.
        for (const std::string& bad : {clientFrame(1, "not json"), clientFrame(1, "[1,2]"), clientFrame(2, "\x01\x02"),
                                       clientFrame(1, std::string(64 * 1024, 'x')), clientFrame(1, R"({"no":"t"})")}) {
            RawSocket socket(port);
            socket.send(upgrade(port, origin));
            socket.receive(129);  // the handshake's reply
            socket.send(bad);
            EXPECT_TRUE(socket.closedByServer()) << "round " << round;
        }
        // Many browsers at once, each leaving in the middle of a frame.
        std::vector<std::thread> crowd;
        std::atomic<int> upgraded{0};
        for (int i = 0; i < 24; ++i)
            crowd.emplace_back([&] {
                RawSocket socket(port);
                socket.send(upgrade(port, origin));
                if (socket.receive(129).find("101") != std::string::npos) ++upgraded;
                std::this_thread::sleep_for(20ms);
                socket.receive(3000);  // part of the frame, then gone
            });
        for (int i = 0; i < 5; ++i) {
            publish(++sequence);
            std::this_thread::sleep_for(10ms);
        }
        for (auto& thread : crowd) thread.join();
        EXPECT_GE(upgraded.load(), 1);
        // The good browser still gets what comes next.
        const int before = good.frames.load();
        publish(++sequence);
        EXPECT_TRUE(eventually([&] { return good.frames.load() > before; })) << "round " << round;
        inbox.take();
        if (round == 3) settled = residentKilobytes();
    }
    EXPECT_FALSE(good.closed.load());
    EXPECT_TRUE(eventually([&] { return server->clientCount() <= 2; })) << "only the good and the stalled browser remain";
    const long growth = residentKilobytes() - settled;
    EXPECT_LT(growth, 40 * 1024) << "memory grew by " << growth << " KiB over " << rounds - 4 << " rounds";
    EXPECT_GE(server->refusedMessages(), static_cast<std::size_t>(rounds * 5));
    stalled.close();
}

TEST(PlayAddressTest, ReadsPortsAndHosts) {
    std::string error;
    auto plain = host::parsePlayAddress("8470", error);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->listening(), "127.0.0.1:8470");
    EXPECT_TRUE(plain->loopback());
    auto wide = host::parsePlayAddress("0.0.0.0:9000", error);
    ASSERT_TRUE(wide);
    EXPECT_FALSE(wide->loopback());
    EXPECT_EQ(wide->url(9000), "http://0.0.0.0:9000/");
    auto six = host::parsePlayAddress("[::1]:8470", error);
    ASSERT_TRUE(six);
    EXPECT_EQ(six->listening(), "[::1]:8470");
    EXPECT_TRUE(six->loopback());
    EXPECT_FALSE(host::parsePlayAddress("70000", error));
    EXPECT_FALSE(host::parsePlayAddress("host:port", error));
    EXPECT_FALSE(host::parsePlayAddress("a b:80", error));
}

TEST(PlayFramesTest, FindsChangedTilesAndJoinsThemIntoRectangles) {
    platform::ui::Bitmap a(300, 200, {150, 100}), b(300, 200, {150, 100});
    EXPECT_TRUE(host::changedTiles(&a, b).empty());
    b.pixels()[static_cast<std::size_t>(70 * 300 + 130)] = 0xffffffffu;   // tile (2, 1)
    b.pixels()[static_cast<std::size_t>(130 * 300 + 130)] = 0xffffffffu;  // tile (2, 2)
    auto tiles = host::changedTiles(&a, b);
    EXPECT_EQ(tiles.count(), 2u);
    auto rects = host::rectanglesOf(tiles);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].x, 128);
    EXPECT_EQ(rects[0].y, 64);
    EXPECT_EQ(rects[0].width, 64);
    EXPECT_EQ(rects[0].height, 128);
    EXPECT_EQ(host::changedTiles(nullptr, b).count(), 5u * 4u);
}

// Tests that a part pasted across any edge of the picture, or wholly off it,
// writes only the picture's own pixels and marks only the tiles it changed.
TEST(PlayFramesTest, PastesPartsClippedToThePicture) {
    constexpr std::uint32_t ink = 0xff336699u;
    auto pasted = [&](int left, int top) {
        platform::ui::Bitmap picture(200, 130, {100, 65});
        platform::ui::Bitmap piece(40, 30, {20, 15}, platform::ui::BitmapPixels::unset);
        std::fill(piece.pixels().begin(), piece.pixels().end(), ink);
        host::TileSet changed(picture.pixelsWide(), picture.pixelsHigh());
        host::pastePart(piece, left, top, picture, changed);
        std::size_t inked = 0;
        for (int y = 0; y < picture.pixelsHigh(); ++y)
            for (int x = 0; x < picture.pixelsWide(); ++x) {
                bool inside = x >= left && x < left + 40 && y >= top && y < top + 30;
                std::uint32_t pixel = picture.pixels()[static_cast<std::size_t>(y * 200 + x)];
                EXPECT_EQ(pixel, inside ? ink : 0u) << "pixel " << x << "," << y << " after pasting at " << left << "," << top;
                inked += pixel == ink;
            }
        return std::pair<std::size_t, host::TileSet>(inked, changed);
    };
    auto [within, withinTiles] = pasted(60, 50);  // across tiles (0..1, 0..1)
    EXPECT_EQ(within, 40u * 30u);
    EXPECT_EQ(withinTiles.count(), 4u);
    auto [aboveLeft, aboveLeftTiles] = pasted(-25, -10);
    EXPECT_EQ(aboveLeft, 15u * 20u);
    EXPECT_EQ(aboveLeftTiles.count(), 1u);
    auto [belowRight, belowRightTiles] = pasted(180, 120);
    EXPECT_EQ(belowRight, 20u * 10u);
    EXPECT_TRUE(belowRightTiles.at(3, 2));
    EXPECT_EQ(belowRightTiles.count(), 4u);
    for (auto [left, top] : {std::pair{-40, 0}, std::pair{0, -30}, std::pair{200, 0}, std::pair{0, 130}, std::pair{-1000, 5000}}) {
        auto [off, offTiles] = pasted(left, top);
        EXPECT_EQ(off, 0u);
        EXPECT_TRUE(offTiles.empty());
    }
}

}  // namespace
