#include "host/PlayAddress.h"

#include <algorithm>
#include <cctype>

namespace host {

namespace {

bool allDigits(const std::string& text) {
    return !text.empty() && text.size() <= 5 &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

bool plausibleHost(const std::string& host) {
    if (host.empty() || host.size() > 253) return false;
    return std::all_of(host.begin(), host.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '.' || c == '-' || c == ':';
    });
}

std::string bracketed(const std::string& host) {
    return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

}  // namespace

bool PlayAddress::loopback() const {
    return host == "127.0.0.1" || host == "::1" || host == "localhost";
}

std::string PlayAddress::listening() const {
    const std::string bound = host == "localhost" ? "127.0.0.1" : host;
    return bracketed(bound) + ":" + std::to_string(port);
}

std::vector<std::string> PlayAddress::acceptedHosts(int boundPort) const {
    const std::string port = ":" + std::to_string(boundPort);
    std::vector<std::string> hosts = {bracketed(host) + port};
    // The same machine under its other loopback names.
    for (const char* name : {"127.0.0.1", "localhost", "[::1]"})
        if (loopback() && hosts[0] != std::string(name) + port) hosts.push_back(std::string(name) + port);
    return hosts;
}

std::string PlayAddress::url(int boundPort) const {
    return "http://" + bracketed(host) + ":" + std::to_string(boundPort) + "/";
}

std::optional<PlayAddress> parsePlayAddress(const std::string& text, std::string& error) {
    PlayAddress address;
    std::string port = text;
    if (!text.empty() && text.front() == '[') {
        const auto close = text.find("]:");
        if (close == std::string::npos) {
            error = "expected [HOST]:PORT";
            return std::nullopt;
        }
        address.host = text.substr(1, close - 1);
        port = text.substr(close + 2);
    } else if (const auto colon = text.rfind(':'); colon != std::string::npos) {
        address.host = text.substr(0, colon);
        port = text.substr(colon + 1);
    }
    if (!plausibleHost(address.host)) {
        error = "not a host name or address: " + address.host;
        return std::nullopt;
    }
    if (!allDigits(port) || std::stoi(port) > 65535) {
        error = "not a port number (0 to 65535): " + port;
        return std::nullopt;
    }
    address.port = std::stoi(port);
    return address;
}

}  // namespace host
