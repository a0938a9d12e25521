#include "fuzz/ReplyChecks.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "dock/DockPreferences.h"
#include "dock/DockTexts.h"
#include "fuzz/Invariant.h"

namespace orvane::fuzz {

namespace {

using nlohmann::json;

constexpr std::string_view wrongThreadReply = R"({"ok":false,"error":"主线程要求"})";
constexpr std::string_view encodingFailedReply = R"({"ok":false,"error":"编码失败"})";

std::string excerpt(const std::string& text) { return text.size() > 300 ? text.substr(0, 300) + "…" : text; }

// Walks the text once, building the reply as it goes: keys ascending in
// every object, no integral real written with a fraction, and nothing the
// parser would also accept that the reply format forbids.
class FormatChecker {
public:
    using number_integer_t = json::number_integer_t;
    using number_unsigned_t = json::number_unsigned_t;
    using number_float_t = json::number_float_t;
    using string_t = json::string_t;
    using binary_t = json::binary_t;

    FormatChecker(const std::string& text, json& result) : text_(text), tree_(result, true) {}

    bool null() { return tree_.null(); }
    bool boolean(bool value) { return tree_.boolean(value); }
    bool number_integer(number_integer_t value) { return tree_.number_integer(value); }
    bool number_unsigned(number_unsigned_t value) { return tree_.number_unsigned(value); }
    bool number_float(number_float_t value, const string_t& raw) {
        require(!(raw.size() > 2 && raw.compare(raw.size() - 2, 2, ".0") == 0), [&] {
            return std::string("an integral real is written with a fraction (" + raw + ") in " + excerpt(text_));
        });
        return tree_.number_float(value, raw);
    }
    bool string(string_t& value) { return tree_.string(value); }
    bool binary(binary_t& value) { return tree_.binary(value); }
    bool start_object(std::size_t size) {
        keys_.emplace_back();
        return tree_.start_object(size);
    }
    bool key(string_t& key) {
        auto& previous = keys_.back();
        require(!previous.has_value() || *previous < key, [&] {
            return std::string("keys are not sorted: \"" + key + "\" after \"" + previous.value_or("") + "\" in " +
                               excerpt(text_));
        });
        previous = key;
        return tree_.key(key);
    }
    bool end_object() {
        keys_.pop_back();
        return tree_.end_object();
    }
    bool start_array(std::size_t size) { return tree_.start_array(size); }
    bool end_array() { return tree_.end_array(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& error) {
        throw InvariantBroken(std::string("the reply is not JSON (") + error.what() + "): " + excerpt(text_));
    }

private:
    const std::string& text_;
    nlohmann::detail::json_sax_dom_parser<json> tree_;
    std::vector<std::optional<std::string>> keys_;
};

// Outside strings no white space; inside, "/" always escaped and no
// non-ASCII character written as \u.
void checkCharacters(const std::string& text) {
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (!inString) {
            require(c != ' ' && c != '\n' && c != '\t' && c != '\r',
                    [&] { return std::string("the reply is not compact: " + excerpt(text)); });
            if (c == '"') inString = true;
            continue;
        }
        if (c == '"') {
            inString = false;
        } else if (c == '/') {
            throw InvariantBroken("a \"/\" is not escaped in " + excerpt(text));
        } else if (c == '\\' && i + 1 < text.size()) {
            char escaped = text[++i];
            if (escaped == 'u' && i + 4 < text.size()) {
                unsigned code = std::stoul(text.substr(i + 1, 4), nullptr, 16);
                require(code < 0x80,
                        [&] { return std::string("a non-ASCII character is escaped as \\u in " + excerpt(text)); });
                i += 4;
            }
        }
    }
}

bool isAppDictionary(const json& value) {
    if (!value.is_object() || value.size() != 4) return false;
    for (const char* key : {"id", "name", "path", "policy"}) {
        auto found = value.find(key);
        if (found == value.end() || !found->is_string()) return false;
    }
    return true;
}

bool isDockState(const json& value) {
    return value.is_object() && value.size() == 2 && value.contains(dock::autohideKey) &&
           value.contains(dock::autohideDelayKey);
}

// Every usable tile once, every unusable one reported, the Finder at most added.
void checkImport(const json& data, const std::function<std::string()>& shown) {
    require(data.is_object() && data.size() == 4,
            [&] { return std::string("import data is not its four keys: " + shown()); });
    const json& apps = data.value("apps", json());
    const json& skipped = data.value("skipped", json());
    const json& count = data.value("sourceCount", json());
    require(apps.is_array() && std::all_of(apps.begin(), apps.end(), isAppDictionary),
            [&] { return std::string("import apps: " + shown()); });
    require(
        skipped.is_array() && std::all_of(skipped.begin(), skipped.end(), [](const json& s) { return s.is_string(); }),
        [&] { return std::string("import skipped: " + shown()); });
    require(count.is_number_integer() && count.get<std::int64_t>() >= 0,
            [&] { return std::string("import sourceCount: " + shown()); });
    require(data.value("readable", json()).is_boolean(), [&] { return std::string("import readable: " + shown()); });
    require(apps.size() + skipped.size() <= count.get<std::size_t>() + 1,
            [&] { return std::string("import reports more than the Dock holds: " + shown()); });
    std::vector<std::string> ids;
    for (const auto& app : apps) ids.push_back(app["id"].get<std::string>());
    std::sort(ids.begin(), ids.end());
    require(std::adjacent_find(ids.begin(), ids.end()) == ids.end(),
            [&] { return std::string("import lists an id twice: " + shown()); });
}

}  // namespace

json checkEnvelope(const std::string& text) {
    if (text == wrongThreadReply) throw InvariantBroken("a call on the main thread was refused as off the main thread");
    if (text == encodingFailedReply) return json{{"ok", false}, {"error", "编码失败"}};
    json reply;
    FormatChecker checker(text, reply);
    json::sax_parse(text, &checker);
    checkCharacters(text);
    require(reply.is_object() && reply.size() == 2,
            [&] { return std::string("the reply is not a two-key envelope: " + excerpt(text)); });
    const auto ok = reply.find("ok");
    require(ok != reply.end() && ok->is_boolean(),
            [&] { return std::string("the reply has no boolean \"ok\": " + excerpt(text)); });
    if (ok->get<bool>()) {
        require(reply.contains("data"),
                [&] { return std::string("a success reply without \"data\": " + excerpt(text)); });
    } else {
        const auto error = reply.find("error");
        require(error != reply.end() && error->is_string(),
                [&] { return std::string("a failure reply without a string \"error\": " + excerpt(text)); });
    }
    return reply;
}

bool isDockWriteFailure(const json& reply) {
    static const std::vector<std::string> messages = {dock::text::missingBackupField, dock::text::cannotSave,
                                                      dock::text::restartFailed, dock::text::qaModeRefusesWrite};
    if (reply["ok"] != false || !reply["error"].is_string()) return false;
    return std::find(messages.begin(), messages.end(), reply["error"].get<std::string>()) != messages.end();
}

void checkCommandReply(const std::string& command, const json& reply, bool controllerExists) {
    auto shown = [&] {
        return command + " replied " + excerpt(reply.dump(-1, ' ', false, json::error_handler_t::replace));
    };
    if (command == "dockWrite" && !reply["ok"].get<bool>()) {
        require(isDockWriteFailure(reply),
                [&] { return std::string("dockWrite failed with a message of no known failure: " + shown()); });
        return;
    }
    require(reply["ok"].get<bool>(), [&] { return std::string("a known command failed: " + shown()); });
    const json& data = reply["data"];
    if (command == "snapshot") {
        require(data.is_object() && (controllerExists || data.empty()),
                [&] { return std::string("snapshot data: " + shown()); });
    } else if (command == "events") {
        require(data.is_array() && (controllerExists || data.empty()),
                [&] { return std::string("events data: " + shown()); });
    } else if (command == "permission") {
        require(data.is_object() && data.size() == 1 && data.contains("trusted") && data["trusted"].is_boolean(),
                [&] { return std::string("permission data: " + shown()); });
    } else if (command == "dockRead" || command == "dockWrite") {
        require(isDockState(data), [&] { return std::string(command + " data is not the two Dock keys: " + shown()); });
    } else if (command == "installed") {
        require(data.is_array() && std::all_of(data.begin(), data.end(), isAppDictionary),
                [&] { return std::string("installed is not a list of app records: " + shown()); });
    } else if (command == "import") {
        checkImport(data, shown);
    } else {
        require(data == json::object(),
                [&] { return std::string("a command without a result replied other data than {}: " + shown()); });
    }
}

}  // namespace orvane::fuzz
