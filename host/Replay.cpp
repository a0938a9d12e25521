#include "host/Replay.h"

#include <cstdio>
#include <fstream>

#include <nlohmann/json.hpp>

#include "host/Session.h"

namespace host {

namespace {

using nlohmann::json;

// A reply compares as JSON where it is JSON, so that spacing never counts.
json asJson(const std::string& reply) {
    auto parsed = json::parse(reply, nullptr, false);
    return parsed.is_discarded() ? json(reply) : parsed;
}

}  // namespace

int replaySession(const Library& library, const std::string& transcriptPath) {
    std::ifstream transcript(transcriptPath);
    if (!transcript) {
        std::fprintf(stderr, "orvane-host: cannot read transcript %s\n", transcriptPath.c_str());
        return 2;
    }
    Session session(library, /*manualClock=*/true);
    int lines = 0, differences = 0;
    std::string text;
    for (int number = 1; std::getline(transcript, text); ++number) {
        if (text.empty()) continue;
        const auto record = json::parse(text, nullptr, false);
        if (!record.is_object() || !record.contains("send") || !record["send"].is_string()) {
            std::fprintf(stderr, "orvane-host: %s:%d is not a {\"send\", \"reply\"} record\n", transcriptPath.c_str(),
                         number);
            return 2;
        }
        const auto sent = record["send"].get<std::string>();
        const auto reply = asJson(session.run(sent));
        ++lines;
        if (record.contains("reply") && record["reply"] != reply) {
            ++differences;
            std::printf("line %d: %s\n  recorded %s\n  replayed %s\n", number, sent.c_str(),
                        record["reply"].dump(-1, ' ', false, json::error_handler_t::replace).c_str(),
                        reply.dump(-1, ' ', false, json::error_handler_t::replace).c_str());
        }
    }
    std::printf("replay: %d line(s), %d reply(s) differ\n", lines, differences);
    return differences == 0 ? 0 : 1;
}

}  // namespace host
