#include "bridge/ReplyWriter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "platform/Json.h"
#include "platform/Utf8.h"

namespace orvane {
namespace {

// The text being written. Replies are many short pieces (keys, small
// numbers, punctuation), so appending is kept inline: the buffer grows by
// doubling and each piece is a bounds check and a copy.
class Text {
public:
    void put(char c) { *room(1) = c; }
    void put(const char* data, std::size_t length) {
        if (length) std::memcpy(room(length), data, length);
    }
    void put(std::string_view piece) { put(piece.data(), piece.size()); }
    std::string take() && {
        buffer_.resize(used_);
        return std::move(buffer_);
    }

private:
    char* room(std::size_t length) {
        if (used_ + length > buffer_.size()) buffer_.resize(std::max(buffer_.size() * 2, used_ + length + 256));
        char* at = buffer_.data() + used_;
        used_ += length;
        return at;
    }
    std::string buffer_;
    std::size_t used_ = 0;
};

// What a byte of a string asks of the writer: nothing (copied with its run),
// an escape, or a check that it starts a well-formed UTF-8 sequence.
enum class ByteKind : unsigned char { plain, escape, multibyte };

constexpr std::array<ByteKind, 256> byteKinds = [] {
    std::array<ByteKind, 256> kinds{};
    for (int b = 0; b < 256; ++b)
        kinds[b] = b >= 0x80 ? ByteKind::multibyte
                   : (b < 0x20 || b == '"' || b == '\\' || b == '/') ? ByteKind::escape
                                                                       : ByteKind::plain;
    return kinds;
}();

void writeEscape(unsigned char byte, Text& out) {
    switch (byte) {
    case '"': out.put("\\\"", 2); return;
    case '\\': out.put("\\\\", 2); return;
    case '/': out.put("\\/", 2); return;
    case '\b': out.put("\\b", 2); return;
    case '\f': out.put("\\f", 2); return;
    case '\n': out.put("\\n", 2); return;
    case '\r': out.put("\\r", 2); return;
    case '\t': out.put("\\t", 2); return;
    default: {
        static constexpr char hex[] = "0123456789abcdef";
        const char escape[6] = {'\\', 'u', '0', '0', hex[byte >> 4], hex[byte & 0xF]};
        out.put(escape, sizeof escape);
    }
    }
}

// One pass that checks the UTF-8 and escapes: runs of bytes that need no
// escape are appended whole, since a reply is mostly such runs.
bool writeString(const std::string& text, Text& out) {
    out.put('"');
    const char* data = text.data();
    const std::size_t size = text.size();
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < size;) {
        const auto byte = static_cast<unsigned char>(data[i]);
        switch (byteKinds[byte]) {
        case ByteKind::plain: ++i; break;
        case ByteKind::multibyte: {
            const std::size_t length = platform::utf8SequenceLength(text, i);
            if (length == 0) return false;
            i += length;
            break;
        }
        case ByteKind::escape:
            out.put(data + runStart, i - runStart);
            writeEscape(byte, out);
            runStart = ++i;
            break;
        }
    }
    out.put(data + runStart, size - runStart);
    out.put('"');
    return true;
}

bool writeDouble(double value, Text& out) {
    if (!std::isfinite(value)) return false;
    char buffer[64];
    // Integral values below 1e21 read as plain integers, like the platform writes them.
    if (value == std::floor(value) && std::fabs(value) < 1e21) {
        if (value == 0) {
            out.put('0');
            return true;
        }
        // Most are small enough for an integer, whose digits come without printf.
        if (std::fabs(value) < 9.2e18) {
            const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::int64_t>(value));
            out.put(buffer, static_cast<std::size_t>(result.ptr - buffer));
            return true;
        }
        const int n = std::snprintf(buffer, sizeof buffer, "%.0f", value);
        out.put(buffer, static_cast<std::size_t>(n));
        return true;
    }
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.put(buffer, static_cast<std::size_t>(result.ptr - buffer));
    return true;
}

template <typename Integer>
bool writeInteger(Integer value, Text& out) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.put(buffer, static_cast<std::size_t>(result.ptr - buffer));
    return true;
}

bool write(const nlohmann::json& value, Text& out) {
    switch (value.type()) {
    case nlohmann::json::value_t::null: out.put("null"); return true;
    case nlohmann::json::value_t::boolean: out.put(value.get<bool>() ? "true" : "false"); return true;
    case nlohmann::json::value_t::number_integer: return writeInteger(value.get<std::int64_t>(), out);
    case nlohmann::json::value_t::number_unsigned: return writeInteger(value.get<std::uint64_t>(), out);
    case nlohmann::json::value_t::number_float: return writeDouble(value.get<double>(), out);
    case nlohmann::json::value_t::string: return writeString(value.get_ref<const std::string&>(), out);
    case nlohmann::json::value_t::array: {
        out.put('[');
        bool first = true;
        for (const auto& element : value.get_ref<const nlohmann::json::array_t&>()) {
            if (!first) out.put(',');
            first = false;
            if (!write(element, out)) return false;
        }
        out.put(']');
        return true;
    }
    case nlohmann::json::value_t::object: {
        // nlohmann keeps object keys in a std::map: iteration is already in
        // ascending byte order.
        out.put('{');
        bool first = true;
        for (const auto& [key, element] : value.get_ref<const nlohmann::json::object_t&>()) {
            if (!first) out.put(',');
            first = false;
            if (!writeString(key, out)) return false;
            out.put(':');
            if (!write(element, out)) return false;
        }
        out.put('}');
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
    Text out;
    if (!write(value, out)) return std::nullopt;
    return std::move(out).take();
}

std::optional<std::string> writeSuccessReply(const nlohmann::json& data) {
    Text out;
    out.put("{\"data\":");
    if (!write(data, out)) return std::nullopt;
    out.put(",\"ok\":true}");
    return std::move(out).take();
}

std::optional<std::string> writeFailureReply(const std::string& message) {
    Text out;
    out.put("{\"error\":");
    if (!writeString(message, out)) return std::nullopt;
    out.put(",\"ok\":false}");
    return std::move(out).take();
}

}  // namespace orvane
