#pragma once

// Where the playground listens: `--serve [HOST:]PORT`, loopback unless a
// host is named.

#include <optional>
#include <string>
#include <vector>

namespace host {

struct PlayAddress {
    std::string host = "127.0.0.1";
    int port = 8470;
    // 127.0.0.1, ::1 or localhost: only this machine can connect.
    bool loopback() const;
    // What civetweb's listening_ports takes: "127.0.0.1:8470", "[::1]:8470".
    std::string listening() const;
    // The Host header values a request may carry for this address (with the
    // port actually bound, which differs from port when port is 0).
    std::vector<std::string> acceptedHosts(int boundPort) const;
    // The address to print and open: http://HOST:PORT/
    std::string url(int boundPort) const;
};

inline constexpr int defaultPlayPort = 8470;

// "8470", "127.0.0.1:8470", "0.0.0.0:8470", "[::1]:8470"; nothing (with the
// reason) when malformed.
std::optional<PlayAddress> parsePlayAddress(const std::string& text, std::string& error);

}  // namespace host
