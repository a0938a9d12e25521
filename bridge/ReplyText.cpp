#include "bridge/ReplyText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/Json.h"
#include "platform/Utf8.h"

namespace orvane {
namespace {

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

// The escape of one byte that needs one, at most six characters; returns its length.
std::size_t escapeOf(unsigned char byte, char* escape) {
    escape[0] = '\\';
    switch (byte) {
    case '"': escape[1] = '"'; return 2;
    case '\\': escape[1] = '\\'; return 2;
    case '/': escape[1] = '/'; return 2;
    case '\b': escape[1] = 'b'; return 2;
    case '\f': escape[1] = 'f'; return 2;
    case '\n': escape[1] = 'n'; return 2;
    case '\r': escape[1] = 'r'; return 2;
    case '\t': escape[1] = 't'; return 2;
    default: {
        static constexpr char hex[] = "0123456789abcdef";
        escape[1] = 'u';
        escape[2] = '0';
        escape[3] = '0';
        escape[4] = hex[byte >> 4];
        escape[5] = hex[byte & 0xF];
        return 6;
    }
    }
}

}  // namespace

void ReplyText::grow(std::size_t length) { buffer_.resize(std::max(buffer_.size() * 2, used_ + length + 256)); }

void ReplyText::put(char c) { *room(1) = c; }

void ReplyText::put(const char* data, std::size_t length) {
    if (length) std::memcpy(room(length), data, length);
}

void ReplyText::put(std::string_view piece) { put(piece.data(), piece.size()); }

// One pass that checks the UTF-8 and escapes: runs of bytes that need no
// escape are appended whole, since a reply is mostly such runs.
bool ReplyText::writeString(std::string_view text) {
    put('"');
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
        case ByteKind::escape: {
            put(data + runStart, i - runStart);
            char escape[6];
            put(escape, escapeOf(byte, escape));
            runStart = ++i;
            break;
        }
        }
    }
    put(data + runStart, size - runStart);
    put('"');
    return true;
}

bool ReplyText::writeDouble(double value) {
    if (!std::isfinite(value)) return false;
    char buffer[64];
    // Integral values below 1e21 read as plain integers, like the platform writes them.
    if (value == std::floor(value) && std::fabs(value) < 1e21) {
        if (value == 0) {
            put('0');
            return true;
        }
        // Most are small enough for an integer, whose digits come without printf.
        if (std::fabs(value) < 9.2e18) {
            const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::int64_t>(value));
            put(buffer, static_cast<std::size_t>(result.ptr - buffer));
            return true;
        }
        const int n = std::snprintf(buffer, sizeof buffer, "%.0f", value);
        put(buffer, static_cast<std::size_t>(n));
        return true;
    }
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    put(buffer, static_cast<std::size_t>(result.ptr - buffer));
    return true;
}

namespace {

template <typename Integer>
std::string_view digitsOf(Integer value, char (&buffer)[24]) {
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return {buffer, static_cast<std::size_t>(result.ptr - buffer)};
}

}  // namespace

bool ReplyText::writeTree(const nlohmann::json& value) {
    char digits[24];
    switch (value.type()) {
    case nlohmann::json::value_t::null: put("null"); return true;
    case nlohmann::json::value_t::boolean: put(value.get<bool>() ? "true" : "false"); return true;
    case nlohmann::json::value_t::number_integer: put(digitsOf(value.get<std::int64_t>(), digits)); return true;
    case nlohmann::json::value_t::number_unsigned: put(digitsOf(value.get<std::uint64_t>(), digits)); return true;
    case nlohmann::json::value_t::number_float: return writeDouble(value.get<double>());
    case nlohmann::json::value_t::string: return writeString(value.get_ref<const std::string&>());
    case nlohmann::json::value_t::array: {
        put('[');
        bool first = true;
        for (const auto& element : value.get_ref<const nlohmann::json::array_t&>()) {
            if (!first) put(',');
            first = false;
            if (!writeTree(element)) return false;
        }
        put(']');
        return true;
    }
    case nlohmann::json::value_t::object: {
        // nlohmann keeps object keys in a std::map: iteration is already in
        // ascending byte order.
        put('{');
        bool first = true;
        for (const auto& [key, element] : value.get_ref<const nlohmann::json::object_t&>()) {
            if (!first) put(',');
            first = false;
            if (!writeString(key)) return false;
            put(':');
            if (!writeTree(element)) return false;
        }
        put('}');
        return true;
    }
    case nlohmann::json::value_t::binary:
    case nlohmann::json::value_t::discarded:
        return false;
    }
    return false;
}

void ReplyText::startValue() {
    if (open_.empty()) {
        if (valueWritten_) failed_ = true;
        valueWritten_ = true;
        return;
    }
    Open& container = open_.back();
    if (container.object) {
        if (!keyWritten_) failed_ = true;
        keyWritten_ = false;
        return;
    }
    if (!container.empty) put(',');
    container.empty = false;
}

void ReplyText::open(bool object, char bracket) {
    startValue();
    put(bracket);
    open_.push_back({object, true, {}});
}

void ReplyText::close(bool object, char bracket) {
    if (open_.empty() || open_.back().object != object || keyWritten_) {
        failed_ = true;
        return;
    }
    put(bracket);
    open_.pop_back();
}

void ReplyText::beginObject() { open(true, '{'); }

void ReplyText::endObject() { close(true, '}'); }

void ReplyText::beginArray() { open(false, '['); }

void ReplyText::endArray() { close(false, ']'); }

JsonOutput& ReplyText::key(std::string_view name) {
    if (open_.empty() || !open_.back().object || keyWritten_) {
        failed_ = true;
        return *this;
    }
    Open& object = open_.back();
    if (!object.empty) {
        if (name <= object.lastKey) failed_ = true;
        put(',');
    }
    object.empty = false;
    object.lastKey.assign(name);
    if (!writeString(name)) failed_ = true;
    put(':');
    keyWritten_ = true;
    return *this;
}

void ReplyText::boolean(bool value) {
    startValue();
    put(value ? std::string_view("true") : std::string_view("false"));
}

void ReplyText::integer(std::int64_t value) {
    startValue();
    char digits[24];
    put(digitsOf(value, digits));
}

void ReplyText::unsignedInteger(std::uint64_t value) {
    startValue();
    char digits[24];
    put(digitsOf(value, digits));
}

void ReplyText::number(double value) {
    startValue();
    if (!writeDouble(value)) failed_ = true;
}

void ReplyText::string(std::string_view value) {
    startValue();
    if (!writeString(value)) failed_ = true;
}

void ReplyText::value(const nlohmann::json& value) {
    startValue();
    if (!writeTree(value)) failed_ = true;
}

std::optional<std::string> ReplyText::take() && {
    if (failed_ || !valueWritten_ || !open_.empty()) return std::nullopt;
    buffer_.resize(used_);
    return std::move(buffer_);
}

}  // namespace orvane
