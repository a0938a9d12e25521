#include "bridge/OrvaneCall.h"

#include <cstdlib>
#include <cstring>
#include <exception>
#include <string_view>

#include "bridge/BridgeTexts.h"
#include "bridge/CommandTable.h"
#include "bridge/ReplyWriter.h"
#include "bridge/RequestReader.h"
#include "platform/Json.h"
#include "platform/JsonMember.h"
#include "platform/RunLoop.h"
#include "platform/Utf8.h"

namespace orvane {
namespace {

char* copyOf(std::string_view text) {
    char* reply = static_cast<char*>(std::malloc(text.size() + 1));
    if (!reply) return nullptr;
    std::memcpy(reply, text.data(), text.size());
    reply[text.size()] = '\0';
    return reply;
}

char* failureReply(const std::string& message) {
    const auto text = writeFailureReply(message);
    return copyOf(text ? *text : texts::encodingFailedReply);
}

template <typename Data>
char* successReply(const Data& data) {
    const auto text = writeSuccessReply(data);
    return copyOf(text ? *text : texts::encodingFailedReply);
}

char* run(const char* request) {
    if (!request) return failureReply(texts::invalidRequest);

    const std::string_view raw(request);
    std::string repaired;
    std::string_view text = raw;
    if (!platform::isValidUtf8(raw)) {
        repaired = platform::repairUtf8(raw);
        text = repaired;
    }

    auto parsed = readRequest(text);
    if (auto* message = std::get_if<std::string>(&parsed)) return failureReply(*message);
    const auto& envelope = std::get<nlohmann::json>(parsed);
    if (!envelope.is_object()) return failureReply(texts::invalidRequest);
    const auto& command = platform::member(envelope, "command");
    if (!command.is_string()) return failureReply(texts::invalidRequest);

    static const nlohmann::json emptyArgs = nlohmann::json::object();
    const auto& args = platform::member(envelope, "args");
    const nlohmann::json& arguments = args.is_object() ? args : emptyArgs;

    const CommandOutcome outcome = dispatch(command.get_ref<const std::string&>(), arguments);
    if (const auto* failure = std::get_if<platform::OrvaneError>(&outcome)) return failureReply(failure->message);
    if (const auto* writer = std::get_if<JsonWriter>(&outcome)) return successReply(*writer);
    return successReply(std::get<nlohmann::json>(outcome));
}

}  // namespace

char* orvaneCall(const char* request) {
    if (!platform::runLoop().isMainThread()) return copyOf(texts::wrongThreadReply);
    try {
        return run(request);
    } catch (const std::exception& error) {
        // Nothing may escape into the host: a command that throws fails with its text.
        return failureReply(platform::repairUtf8(error.what()));
    } catch (...) {
        return copyOf(texts::encodingFailedReply);
    }
}

void orvaneFree(char* reply) { std::free(reply); }

}  // namespace orvane
