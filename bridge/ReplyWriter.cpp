#include "bridge/ReplyWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/Json.h"
#include "platform/Utf8.h"

namespace orvane {
namespace {

bool writeString(const std::string& text, std::string& out) {
    if (!platform::isValidUtf8(text)) return false;
    out.push_back('"');
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '/': out += "\\/"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
                out += escape;
            } else {
                out.push_back(c);
            }
        }
    }
    out.push_back('"');
    return true;
}

bool writeDouble(double value, std::string& out) {
    if (!std::isfinite(value)) return false;
    char buffer[64];
    // Integral values below 1e21 read as plain integers, like the platform writes them.
    if (value == std::floor(value) && std::fabs(value) < 1e21) {
        if (value == 0) {
            out.push_back('0');
            return true;
        }
        const int n = std::snprintf(buffer, sizeof buffer, "%.0f", value);
        out.append(buffer, static_cast<std::size_t>(n));
        return true;
    }
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
    return true;
}

bool write(const nlohmann::json& value, std::string& out) {
    switch (value.type()) {
    case nlohmann::json::value_t::null: out += "null"; return true;
    case nlohmann::json::value_t::boolean: out += value.get<bool>() ? "true" : "false"; return true;
    case nlohmann::json::value_t::number_integer: out += std::to_string(value.get<std::int64_t>()); return true;
    case nlohmann::json::value_t::number_unsigned: out += std::to_string(value.get<std::uint64_t>()); return true;
    case nlohmann::json::value_t::number_float: return writeDouble(value.get<double>(), out);
    case nlohmann::json::value_t::string: return writeString(value.get_ref<const std::string&>(), out);
    case nlohmann::json::value_t::array: {
        out.push_back('[');
        bool first = true;
        for (const auto& element : value) {
            if (!first) out.push_back(',');
            first = false;
            if (!write(element, out)) return false;
        }
        out.push_back(']');
        return true;
    }
    case nlohmann::json::value_t::object: {
        // nlohmann keeps object keys in a std::map: iteration is already in
        // ascending byte order.
        out.push_back('{');
        bool first = true;
        for (const auto& [key, element] : value.items()) {
            if (!first) out.push_back(',');
            first = false;
            if (!writeString(key, out)) return false;
            out.push_back(':');
            if (!write(element, out)) return false;
        }
        out.push_back('}');
        return true;
    }
    case nlohmann::json::value_t::binary:
    case nlohmann::json::value_t::discarded:
        return false;
    }
    return false;
}

}  // namespace

std::optional<std::string> writeReply(const nlohmann::json& value) {
    std::string out;
    if (!write(value, out)) return std::nullopt;
    return out;
}

std::string successEnvelope(const std::string& data) {
    std::string out;
    out.reserve(data.size() + 20);
    out += "{\"data\":";
    out += data;
    out += ",\"ok\":true}";
    return out;
}

std::string failureEnvelope(const std::string& message) {
    std::string out;
    out.reserve(message.size() + 22);
    out += "{\"error\":";
    out += message;
    out += ",\"ok\":false}";
    return out;
}

}  // namespace orvane
