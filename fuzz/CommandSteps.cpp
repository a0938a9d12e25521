// Steps that speak to the library as the host does: one of the commands
// with arguments built from the scene (ids, paths, names), small and extreme
// integers, booleans and fuzzed strings, now and then of the wrong type or
// missing; and request texts of raw bytes.

#include <array>
#include <string_view>

#include "fuzz/Invariant.h"
#include "fuzz/Session.h"
#include "platform/Utf8.h"

namespace orvane::fuzz {

namespace {

using nlohmann::json;

// In the order of the command table.
constexpr std::array<std::string_view, 27> commandNames = {
    "start",       "configure",     "settingsUpdate",   "settingsShow", "settingsHide",
    "settingsTab", "qaSelfPreview", "screenPermission", "screenRetry",  "import",
    "installed",   "snapshot",      "appearance",       "capture",      "events",
    "permission",  "launch",        "reveal",           "all",          "dockSuspend",
    "dockRead",    "dockWrite",     "previewStep",      "closeCard",    "scroll",
    "hover",       "stop",
};

const std::vector<std::string> policies = {"auto", "always", "running", "", "Auto"};

// A request's text as the bridge reads it: up to the first NUL, malformed
// UTF-8 repaired; nothing when it is no object with a string command.
std::optional<json> readAsBridge(const std::string& text) {
    std::string repaired = platform::repairUtf8(std::string_view(text.c_str()));
    json value = json::parse(repaired, nullptr, false);
    if (value.is_discarded() || !value.is_object()) return std::nullopt;
    auto command = value.find("command");
    if (command == value.end() || !command->is_string()) return std::nullopt;
    return value;
}

}  // namespace

bool Session::knownCommand(const std::string& name) {
    for (auto known : commandNames)
        if (known == name) return true;
    return false;
}

json Session::usualConfiguration() {
    auto record = [](const char* id, const char* name, const char* path, const char* policy) {
        return json{{"id", id}, {"name", name}, {"path", path}, {"policy", policy}};
    };
    return {{"pinned",
             {record("com.apple.Safari", "Safari", "/Applications/Safari.app", "auto"),
              record("com.apple.Notes", "Notes", "/System/Applications/Notes.app", "always"),
              record("com.example.missing", "Missing", "/Applications/Missing.app", "auto"),
              record("com.apple.Terminal", "Terminal", "/System/Applications/Utilities/Terminal.app", "auto"),
              record("com.example.broken", "Broken", "/Applications/Broken.app", "running")}},
            {"maxIcons", 3},
            {"showRunning", true},
            {"autoDedup", true},
            {"centered", false}};
}

void Session::commandStep() {
    std::uint8_t pick = in_.byte() % 32;
    std::string name;
    if (pick < commandNames.size())
        name = std::string(commandNames[pick]);
    else if (pick == 27)
        name = "Start";
    else if (pick == 28)
        name = "snapshot ";
    else if (pick == 29)
        name = in_.text(scene_.words());
    else
        name = pick == 30 ? "events" : "snapshot";

    std::uint8_t shape = in_.byte();
    json request = {{"command", name}};
    switch (shape % 8) {
    case 6: break;  // no arguments at all
    case 7: request["args"] = in_.value(scene_.words()); break;
    default: request["args"] = commandArguments(name); break;
    }
    if (shape & 0x80) request["extra"] = in_.value(scene_.words());
    std::string text = request.dump(-1, ' ', false, json::error_handler_t::replace);
    json args = json::parse(text).value("args", json::object());
    commandText(name, text, args);
}

json Session::commandArguments(const std::string& name) {
    if (name == "start") return {{"qaMode", in_.boolean()}};
    if (name == "configure") return configuration();
    if (name == "settingsUpdate") return settingsState();
    if (name == "settingsTab") return {{"tab", in_.textValue(scene_.words())}};
    if (name == "appearance") return {{"dark", in_.boolean()}};
    if (name == "capture") return {{"directory", in_.textValue(scene_.folders())}};
    if (name == "permission") return {{"prompt", in_.boolean()}};
    if (name == "launch") return appRecord();
    if (name == "reveal") return {{"path", in_.textValue(scene_.paths())}};
    if (name == "dockWrite") return dockValues();
    if (name == "previewStep" || name == "scroll") return {{"step", in_.integerValue()}};
    if (name == "hover") return {{"index", in_.integerValue()}};
    return json::object();
}

// An application of the scene as a record, with fields replaced or removed.
json Session::appRecord() {
    json record = json::object();
    std::uint8_t base = in_.byte();
    if (base < 0xF0) {
        const SceneApp& app = scene_.apps()[base % scene_.apps().size()];
        record = {{"id", app.bundleId}, {"name", app.name}, {"policy", "auto"}};
        if (!app.path.empty()) record["path"] = app.path;
    }
    std::uint8_t changes = in_.byte();
    if (changes & 0x01) record["id"] = in_.textValue(scene_.ids());
    if (changes & 0x02) record["name"] = in_.textValue(scene_.names());
    if (changes & 0x04) record["path"] = in_.textValue(scene_.paths());
    if (changes & 0x08) record["policy"] = in_.textValue(policies);
    if (changes & 0x10) record.erase("path");
    if (changes & 0x20) record.erase("id");
    if (changes & 0x40) record.erase("name");
    return record;
}

json Session::configuration() {
    json config = json::object();
    std::uint8_t keys = in_.byte();
    if (keys & 0x01) config["dockPersistent"] = in_.boolean();
    if (keys & 0x02) {
        std::size_t count = in_.choice(8);
        if (count == 7) {
            config["pinned"] = in_.value(scene_.words());
        } else {
            json pinned = json::array();
            for (std::size_t i = 0; i < count; ++i) {
                // Now and then an element that is no object, which empties the whole list.
                if (in_.byte() % 16 == 15)
                    pinned.push_back(in_.value(scene_.words()));
                else
                    pinned.push_back(appRecord());
            }
            config["pinned"] = std::move(pinned);
        }
    }
    if (keys & 0x04) config["maxIcons"] = in_.integerValue();
    if (keys & 0x08) config["showRunning"] = in_.boolean();
    if (keys & 0x10) config["autoDedup"] = in_.boolean();
    if (keys & 0x20) config["centered"] = in_.boolean();
    return config;
}

// What the host pushes to the settings window: its preferences, its
// runtime state, the catalogue and the banners.
json Session::settingsState() {
    json values = json::object();
    std::uint8_t keys = in_.byte();
    auto records = [&] {
        json list = json::array();
        for (std::size_t n = in_.choice(5); n > 0; --n) list.push_back(appRecord());
        return list;
    };
    if (keys & 0x01) {
        json preferences = {{"pinned", records()},        {"maxIcons", in_.integerValue()},
                            {"centered", in_.boolean()},  {"showRunning", in_.boolean()},
                            {"autoDedup", in_.boolean()}, {"dockPersistent", in_.boolean()},
                            {"hasUndo", in_.boolean()}};
        values["preferences"] = in_.flag() ? preferences : in_.value(scene_.words());
    }
    if (keys & 0x02) {
        json detections = json::object();
        for (std::size_t n = in_.choice(4); n > 0; --n)
            detections[in_.text(scene_.ids())] = in_.textValue(scene_.words());
        values["state"] = {{"trusted", in_.boolean()}, {"screenCapture", in_.boolean()},
                           {"detections", detections}, {"visible", records()},
                           {"hidden", records()},      {"dockStatus", in_.textValue(scene_.words())}};
    }
    if (keys & 0x04) values["installed"] = in_.flag() ? records() : in_.value(scene_.words());
    if (keys & 0x08) values["message"] = in_.textValue(scene_.names());
    if (keys & 0x10) values["failure"] = in_.textValue(scene_.names());
    if (keys & 0x20) values["loading"] = in_.boolean();
    if (keys & 0x40) values["login"] = in_.boolean();
    return values;
}

// A Dock state to restore: either key may be missing, null, or of another type.
json Session::dockValues() {
    json values = json::object();
    std::uint8_t keys = in_.byte();
    auto autohide = [&]() -> json {
        switch (in_.byte() % 6) {
        case 0: return true;
        case 1: return false;
        case 2: return nullptr;
        case 3: return 1;
        case 4: return "YES";
        default: return in_.value(scene_.words());
        }
    };
    auto delay = [&]() -> json {
        switch (in_.byte() % 6) {
        case 0: return 0.5;
        case 1: return 315360000.0;
        case 2: return 315360000;
        case 3: return nullptr;
        case 4: return in_.number();
        default: return in_.value(scene_.words());
        }
    };
    if (keys & 0x01) values["autohide"] = autohide();
    if (keys & 0x02) values["autohide-delay"] = delay();
    if (keys & 0x04) values[in_.text(scene_.words())] = in_.value(scene_.words());
    return values;
}

// Raw request texts: bytes as they come, nesting far past any limit, a huge
// string, or a well-formed request with one byte changed.
void Session::rawRequestStep() {
    std::string text;
    switch (in_.byte() % 4) {
    case 0: text = in_.bytes(in_.byte()); break;
    case 1: {
        std::size_t levels = in_.word() * 4u;
        text =
            R"({"command":"configure","args":{"pinned":)" + std::string(levels, '[') + std::string(levels, ']') + "}}";
        break;
    }
    case 2: text = R"({"command":"settingsTab","args":{"tab":")" + std::string(100000, 'x') + "\"}}"; break;
    default: {
        std::string name(commandNames[in_.byte() % commandNames.size()]);
        json request = {{"command", name}, {"args", commandArguments(name)}};
        text = request.dump(-1, ' ', false, json::error_handler_t::replace);
        std::size_t at = in_.word();
        if (!text.empty()) text[at % text.size()] = static_cast<char>(in_.byte());
        break;
    }
    }
    if (auto read = readAsBridge(text)) {
        // No copy: a value nested far past any limit would be copied recursively.
        static const json noArguments = json::object();
        const json& args = read->contains("args") ? (*read)["args"] : noArguments;
        commandText((*read)["command"].get<std::string>(), text, args, false);
    } else {
        note([&] { return "step " + std::to_string(step_) + ": raw request of " + std::to_string(text.size()) + " bytes"; });
        json reply = request(text);
        require(reply["ok"] == false, "a request that is no object with a string command succeeded");
    }
}

}  // namespace orvane::fuzz
