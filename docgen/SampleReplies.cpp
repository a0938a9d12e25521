#include "docgen/SampleReplies.h"

#include <cstdlib>
#include <vector>

#include <nlohmann/json.hpp>

#include "bridge/OrvaneCall.h"
#include "desktop/Desktop.h"

namespace docgen {

namespace {

struct Sample {
    std::vector<std::string> before;  // sent first, not shown
    std::string request;              // sent and shown (a JSON command or a "!" verb)
    std::string shown;                // what the guide shows on the left; empty: the request
    std::string note = {};            // shown after the reply
};

std::string call(const std::string& request) {
    if (!request.empty() && request.front() == '!') {
        desktop::verb(request.substr(1));
        return {};
    }
    char* reply = orvane::orvaneCall(request.c_str());
    std::string text = reply ? reply : "";
    orvane::orvaneFree(reply);
    return text;
}

// The index just past the string that opens at start.
std::size_t pastString(const std::string& text, std::size_t start) {
    for (std::size_t i = start + 1; i < text.size(); ++i) {
        if (text[i] == '\\') ++i;
        else if (text[i] == '"') return i + 1;
    }
    return text.size();
}

// The index just past the object or array that opens at start.
std::size_t pastContainer(const std::string& text, std::size_t start) {
    int depth = 0;
    for (std::size_t i = start; i < text.size();) {
        const char c = text[i];
        if (c == '"') {
            i = pastString(text, i);
            continue;
        }
        if (c == '{' || c == '[') ++depth;
        if ((c == '}' || c == ']') && --depth == 0) return i + 1;
        ++i;
    }
    return text.size();
}

// Keeps the first record of every array of objects and marks the rest "…".
std::string shortened(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '"') {
            const auto end = pastString(text, i);
            out.append(text, i, end - i);
            i = end;
        } else if (text[i] == '[' && i + 1 < text.size() && text[i + 1] == '{') {
            const auto firstEnd = pastContainer(text, i + 1);
            out += '[' + shortened(text.substr(i + 1, firstEnd - i - 1));
            if (firstEnd < text.size() && text[firstEnd] == ',') out += ",…";
            out += ']';
            i = pastContainer(text, i);
        } else {
            out += text[i++];
        }
    }
    return out;
}

// Runs the samples on a fresh default scene and stops the controller after.
template <typename Body>
std::string onDefaultScene(Body body) {
    desktop::reset(desktop::defaultScene(), desktop::Clock::manual);
    std::string text = body();
    call(R"({"command":"stop"})");
    return text;
}

constexpr std::size_t replyColumn = 39;
// A request longer than this puts its reply on the next line.
constexpr std::size_t longRequest = 60;

std::string line(const std::string& shown, const std::string& reply) {
    if (shown.size() < replyColumn) return shown + std::string(replyColumn - shown.size(), ' ') + "→ " + reply + "\n";
    if (shown.size() < longRequest) return shown + " → " + reply + "\n";
    return shown + "\n" + std::string(replyColumn, ' ') + "→ " + reply + "\n";
}

}  // namespace

std::string sampleReplies() {
    const std::vector<Sample> samples = {
        {{}, R"({"command":"snapshot"})", R"x({"command":"snapshot"}                 before start)x"},
        {{}, R"({"command":"events"})", R"x({"command":"events"}                   before start)x"},
        {{}, R"({"command":"start"})", ""},
        {{}, R"({"command":"permission"})", ""},
        {{}, R"({"command":"dockRead"})", ""},
        {{}, R"({"command":"dockWrite","args":{"autohide":true,"autohide-delay":315360000.0}})", ""},
        {{}, R"({"command":"dockWrite","args":{"autohide":false,"autohide-delay":null}})", ""},
        {{}, R"({"command":"import"})", ""},
        {{}, R"({"command":"installed"})", ""},
        {{"!advance 1", R"({"command":"events"})"}, R"({"command":"launch","args":{"path":"/Applications/Nope.app","name":"Nope"}})", "",
         "   (then an \"error\" event)"},
        {{"!advance 1"}, R"({"command":"events"})", ""},
        {{R"({"command":"screenRetry"})", "!advance 0.1"}, R"({"command":"events"})",
         R"x({"command":"screenRetry"}  !advance 0.1  {"command":"events"})x"},
        {{R"({"command":"start","args":{"qaMode":true}})"}, R"({"command":"dockWrite","args":{"autohide":true}})",
         R"x({"command":"start","args":{"qaMode":true}}  then  {"command":"dockWrite","args":{"autohide":true}})x"},
        {{}, R"({"command":"Start"})", ""},
        {{}, "[1]", ""},
    };
    return onDefaultScene([&] {
        std::string text;
        for (const auto& sample : samples) {
            for (const auto& request : sample.before) call(request);
            const std::string reply = shortened(call(sample.request));
            text += line(sample.shown.empty() ? sample.request : sample.shown, reply + sample.note);
        }
        return "```\n" + text + "```\n";
    });
}

std::string sampleSnapshot() {
    return onDefaultScene([] {
        call(R"({"command":"start"})");
        call(R"({"command":"configure","args":{"pinned":[{"id":"com.apple.Safari","name":"Safari","path":"/Applications/Safari.app","policy":"auto"}]}})");
        call("!advance 0.5");
        call(R"({"command":"hover","args":{"index":0}})");
        call("!advance 0.5");
        const std::string reply = shortened(call(R"({"command":"snapshot"})"));
        // Wrapped at the last comma outside a string before 120 columns.
        std::string text, current;
        std::size_t lastComma = std::string::npos;
        for (std::size_t i = 0; i < reply.size();) {
            if (reply[i] == '"') {
                const auto end = pastString(reply, i);
                current.append(reply, i, end - i);
                i = end;
            } else {
                current += reply[i];
                if (reply[i++] == ',') lastComma = current.size();
            }
            if (current.size() >= 120 && lastComma != std::string::npos) {
                text += current.substr(0, lastComma) + "\n";
                current = current.substr(lastComma);
                lastComma = std::string::npos;
            }
        }
        return "```\n" + text + current + "\n```\n";
    });
}

}  // namespace docgen
