#include "bridge/ReplyWriter.h"

#include "bridge/ReplyText.h"

namespace orvane {

std::optional<std::string> writeReply(const nlohmann::json& value) {
    ReplyText out;
    out.value(value);
    return std::move(out).take();
}

std::optional<std::string> writeSuccessReply(const nlohmann::json& data) {
    return writeSuccessReply([&data](JsonOutput& out) { out.value(data); });
}

std::optional<std::string> writeSuccessReply(const JsonWriter& data) {
    ReplyText out;
    out.beginObject();
    data(out.key("data"));
    out.key("ok").boolean(true);
    out.endObject();
    return std::move(out).take();
}

std::optional<std::string> writeFailureReply(const std::string& message) {
    ReplyText out;
    out.beginObject();
    out.key("error").string(message);
    out.key("ok").boolean(false);
    out.endObject();
    return std::move(out).take();
}

}  // namespace orvane
