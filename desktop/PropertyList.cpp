// Reads and writes property lists with libplist, standing in for the
// platform's property-list serialization. Untrusted bytes are checked before
// libplist sees them, because it follows binary references without limits.
#include "desktop/PropertyList.h"

#include <plist/plist.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include <nlohmann/json.hpp>

#include "desktop/XmlListValues.h"
#include "platform/Utf8.h"

namespace desktop {

namespace {

using Json = nlohmann::json;

struct PlistFree {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using Plist = std::unique_ptr<void, PlistFree>;

constexpr std::string_view binaryMagic = "bplist00";
constexpr std::size_t trailerSize = 32;

std::uint64_t bigEndian(const unsigned char* bytes, std::size_t size) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i) value = (value << 8) | bytes[i];
    return value;
}

// What the bytes are checked for before libplist reads them.
enum class Purpose {
    reading,
    // The list is written back: every value must also read as exactly what
    // the bytes hold, or the write would silently change it.
    rewriting,
};

// The count of a string, data or container object (in the marker's low
// nibble, or as an integer object after the marker) and where its contents
// begin; nothing when the header runs past end.
struct Counted {
    std::uint64_t count = 0;
    std::uint64_t start = 0;
};
std::optional<Counted> countedAt(const unsigned char* data, std::uint64_t offset, std::uint64_t end) {
    std::uint64_t count = data[offset] & 0x0F;
    std::uint64_t position = offset + 1;
    if (count == 0x0F) {
        if (position >= end || (data[position] >> 4) != 0x1) return std::nullopt;
        std::size_t size = std::size_t{1} << (data[position] & 0x0F);
        if (size > 8 || position + 1 + size > end) return std::nullopt;
        count = bigEndian(data + position + 1, size);
        position += 1 + size;
    }
    return Counted{count, position};
}

// Whether libplist 2.2 reads the scalar object at offset as exactly what it
// holds. It cuts strings at a NUL (keys are C strings), drops bytes beyond
// ASCII in an ASCII string and lone surrogates in a UTF-16 one, and keeps
// only the low 64 bits of a 16-byte integer, which it writes back as a
// positive number (so -5 in 16 bytes would come back as 2^64 - 5).
bool scalarReadsExactly(const unsigned char* data, std::uint64_t offset, std::uint64_t end) {
    unsigned char marker = data[offset];
    unsigned info = marker & 0x0F;
    switch (marker >> 4) {
    case 0x0:
        return marker == 0x08 || marker == 0x09;
    case 0x1:
        if (info < 4) return true;
        return info == 4 && offset + 17 <= end && bigEndian(data + offset + 1, 8) == 0;
    case 0x2:
        return info == 2 || info == 3;
    case 0x3:
        return info == 3;
    case 0x4:
    case 0x8:
        return true;
    case 0x5: {
        auto text = countedAt(data, offset, end);
        if (!text || text->count > end - text->start) return false;
        for (std::uint64_t i = 0; i < text->count; ++i)
            if (data[text->start + i] == 0 || data[text->start + i] > 0x7F) return false;
        return true;
    }
    case 0x6: {
        auto text = countedAt(data, offset, end);
        if (!text || text->count > (end - text->start) / 2) return false;
        auto unit = [&](std::uint64_t i) { return bigEndian(data + text->start + 2 * i, 2); };
        for (std::uint64_t i = 0; i < text->count; ++i) {
            std::uint64_t u = unit(i);
            if (u == 0 || (u >= 0xDC00 && u <= 0xDFFF)) return false;
            if (u >= 0xD800 && u <= 0xDBFF) {
                if (++i == text->count) return false;
                std::uint64_t low = unit(i);
                if (low < 0xDC00 || low > 0xDFFF) return false;
            }
        }
        return true;
    }
    default:
        return false;
    }
}

// Whether a dictionary key at offset holds no NUL: libplist hands keys over
// as C strings and asserts, ending the process, when one is cut short.
bool keyHasNoNul(const unsigned char* data, std::uint64_t offset, std::uint64_t end) {
    if (offset < binaryMagic.size() || offset >= end) return false;
    unsigned type = data[offset] >> 4;
    if (type != 0x5 && type != 0x6) return true;
    auto text = countedAt(data, offset, end);
    std::uint64_t width = type == 0x6 ? 2 : 1;
    if (!text || text->count > (end - text->start) / width) return false;
    for (std::uint64_t i = 0; i < text->count; ++i)
        if (bigEndian(data + text->start + i * width, width) == 0) return false;
    return true;
}

// Walks the object graph of a binary list from its top object and accepts it
// only when every container is reached once, nothing cycles, the nesting
// stays within the limit and no dictionary key holds a NUL. Scalars may be
// shared (writers share equal strings).
bool binaryListIsSafe(std::string_view bytes, Purpose purpose) {
    if (bytes.size() < binaryMagic.size() + trailerSize) return false;
    auto data = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* trailer = data + bytes.size() - trailerSize;
    std::size_t offsetSize = trailer[6];
    std::size_t refSize = trailer[7];
    std::uint64_t objectCount = bigEndian(trailer + 8, 8);
    std::uint64_t top = bigEndian(trailer + 16, 8);
    std::uint64_t tableOffset = bigEndian(trailer + 24, 8);
    std::uint64_t tableEnd = bytes.size() - trailerSize;
    if (offsetSize < 1 || offsetSize > 8 || refSize < 1 || refSize > 8) return false;
    if (objectCount == 0 || top >= objectCount || tableOffset < binaryMagic.size() || tableOffset > tableEnd) return false;
    if (objectCount > (tableEnd - tableOffset) / offsetSize) return false;

    auto offsetOf = [&](std::uint64_t object) { return bigEndian(data + tableOffset + object * offsetSize, offsetSize); };

    struct Container {
        std::uint64_t refsStart = 0;
        std::uint64_t refCount = 0;
        std::uint64_t keyCount = 0;  // a dictionary's references start with its keys
    };
    // Reads a container's references; false for a malformed header.
    auto containerAt = [&](std::uint64_t object, std::optional<Container>& container) {
        container.reset();
        std::uint64_t offset = offsetOf(object);
        if (offset < binaryMagic.size() || offset >= tableOffset) return false;
        unsigned type = data[offset] >> 4;
        if (type != 0xA && type != 0xB && type != 0xC && type != 0xD) return true;
        // libplist reads sets as arrays.
        if (purpose == Purpose::rewriting && type != 0xA && type != 0xD) return false;
        auto counted = countedAt(data, offset, tableOffset);
        if (!counted) return false;
        std::uint64_t count = counted->count;
        std::uint64_t position = counted->start;
        std::uint64_t refs = type == 0xD ? count * 2 : count;
        if (count > tableOffset || refs > (tableOffset - position) / refSize) return false;
        container = Container{position, refs, type == 0xD ? count : 0};
        return true;
    };

    enum class Mark : std::uint8_t { unseen, open, done };
    std::vector<Mark> marks(objectCount, Mark::unseen);
    struct Frame {
        std::uint64_t object;
        Container container;
        std::uint64_t next = 0;
    };
    std::vector<Frame> stack;
    // Scalars are shared; each is checked once.
    std::vector<bool> scalarChecked(purpose == Purpose::rewriting ? objectCount : 0, false);
    auto scalarAccepted = [&](std::uint64_t object) {
        if (purpose != Purpose::rewriting || scalarChecked[object]) return true;
        scalarChecked[object] = true;
        return scalarReadsExactly(data, offsetOf(object), tableOffset);
    };
    std::optional<Container> topContainer;
    if (!containerAt(top, topContainer)) return false;
    if (!topContainer) return scalarAccepted(top);
    marks[top] = Mark::open;
    stack.push_back({top, *topContainer});
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next == frame.container.refCount) {
            marks[frame.object] = Mark::done;
            stack.pop_back();
            continue;
        }
        std::uint64_t child = bigEndian(data + frame.container.refsStart + frame.next * refSize, refSize);
        ++frame.next;
        if (child >= objectCount) return false;
        if (frame.next <= frame.container.keyCount && !keyHasNoNul(data, offsetOf(child), tableOffset)) return false;
        std::optional<Container> childContainer;
        if (!containerAt(child, childContainer)) return false;
        if (!childContainer) {
            if (!scalarAccepted(child)) return false;
            continue;
        }
        if (marks[child] != Mark::unseen) return false;
        if (stack.size() >= static_cast<std::size_t>(maxPropertyListDepth)) return false;
        marks[child] = Mark::open;
        stack.push_back({child, *childContainer});
    }
    return true;
}

// XML has no references; only its nesting needs a bound before parsing.
bool xmlListIsSafe(std::string_view text) {
    int depth = 0;
    for (std::size_t i = text.find('<'); i != std::string_view::npos; i = text.find('<', i + 1)) {
        std::string_view tag = text.substr(i + 1);
        bool closing = !tag.empty() && tag.front() == '/';
        if (closing) tag.remove_prefix(1);
        bool container = tag.starts_with("array") || tag.starts_with("dict");
        if (!container) continue;
        auto end = tag.find('>');
        if (end == std::string_view::npos) return false;
        if (closing) {
            --depth;
        } else if (end == 0 || tag[end - 1] != '/') {
            if (++depth > maxPropertyListDepth) return false;
        }
    }
    return true;
}

Plist parseTrusted(std::string_view bytes, Purpose purpose = Purpose::reading) {
    if (bytes.empty() || bytes.size() > std::numeric_limits<std::uint32_t>::max()) return nullptr;
    plist_t root = nullptr;
    if (bytes.starts_with(binaryMagic)) {
        if (!binaryListIsSafe(bytes, purpose)) return nullptr;
        plist_from_bin(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &root);
    } else {
        if (!xmlListIsSafe(bytes)) return nullptr;
        if (purpose == Purpose::rewriting && !xmlValuesReadExactly(bytes)) return nullptr;
        plist_from_xml(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &root);
    }
    return Plist(root);
}

constexpr char base64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string base64Encode(const char* data, std::uint64_t length) {
    std::string out;
    out.reserve((length + 2) / 3 * 4);
    auto bytes = reinterpret_cast<const unsigned char*>(data);
    for (std::uint64_t i = 0; i < length; i += 3) {
        std::uint32_t chunk = bytes[i] << 16;
        if (i + 1 < length) chunk |= bytes[i + 1] << 8;
        if (i + 2 < length) chunk |= bytes[i + 2];
        out += base64Alphabet[(chunk >> 18) & 0x3F];
        out += base64Alphabet[(chunk >> 12) & 0x3F];
        out += i + 1 < length ? base64Alphabet[(chunk >> 6) & 0x3F] : '=';
        out += i + 2 < length ? base64Alphabet[chunk & 0x3F] : '=';
    }
    return out;
}

std::optional<std::string> base64Decode(const std::string& text) {
    std::string out;
    std::uint32_t buffer = 0;
    int bits = 0;
    for (char c : text) {
        if (c == '=') break;
        const char* found = std::strchr(base64Alphabet, c);
        if (c == '\0' || !found) return std::nullopt;
        buffer = (buffer << 6) | static_cast<std::uint32_t>(found - base64Alphabet);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((buffer >> bits) & 0xFF);
        }
    }
    return out;
}

bool isContainer(plist_t node) {
    plist_type type = plist_get_node_type(node);
    return type == PLIST_ARRAY || type == PLIST_DICT;
}

// depth: the containers around the node, itself included when it is one.
// Only containers count, as in the checks of the bytes, so that the reader
// takes every list those checks let through.
std::optional<Json> toJson(plist_t node, int depth) {
    if (!node || (isContainer(node) && depth > maxPropertyListDepth)) return std::nullopt;
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        std::uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return Json(value != 0);
    }
    case PLIST_UINT: {
        // The format's integers are signed 64-bit; libplist hands them over unsigned.
        std::uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return Json(static_cast<std::int64_t>(value));
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return Json(value);
    }
    case PLIST_STRING:
    case PLIST_KEY: {
        std::uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return Json(platform::repairUtf8(text ? std::string_view(text, length) : std::string_view{}));
    }
    case PLIST_DATA: {
        std::uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        return Json{{propertyListTypeKey, "data"}, {"base64", base64Encode(bytes, bytes ? length : 0)}};
    }
    case PLIST_DATE: {
        std::int32_t seconds = 0, microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        return Json{{propertyListTypeKey, "date"}, {"seconds", seconds + microseconds / 1e6}};
    }
    case PLIST_UID: {
        std::uint64_t value = 0;
        plist_get_uid_val(node, &value);
        return Json{{propertyListTypeKey, "uid"}, {"value", value}};
    }
    case PLIST_ARRAY: {
        Json array = Json::array();
        std::uint32_t size = plist_array_get_size(node);
        for (std::uint32_t i = 0; i < size; ++i) {
            auto item = toJson(plist_array_get_item(node, i), depth + 1);
            if (!item) return std::nullopt;
            array.push_back(std::move(*item));
        }
        return array;
    }
    case PLIST_DICT: {
        Json object = Json::object();
        plist_dict_iter iterator = nullptr;
        plist_dict_new_iter(node, &iterator);
        bool complete = true;
        while (iterator) {
            char* key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, iterator, &key, &value);
            if (!key) break;
            std::string name = platform::repairUtf8(key);
            std::free(key);
            auto converted = toJson(value, depth + 1);
            if (!converted) {
                complete = false;
                break;
            }
            object[name] = std::move(*converted);
        }
        std::free(iterator);
        if (!complete) return std::nullopt;
        return object;
    }
    default:
        return std::nullopt;
    }
}

// The tag of a tagged object, or empty for an ordinary dictionary.
std::string tagOf(const Json& object) {
    if (object.size() != 2) return {};
    auto tag = object.find(propertyListTypeKey);
    if (tag == object.end() || !tag->is_string()) return {};
    std::string type = tag->get<std::string>();
    if (type == "data" && object.contains("base64") && object["base64"].is_string()) return type;
    if (type == "date" && object.contains("seconds") && object["seconds"].is_number()) return type;
    if (type == "uid" && object.contains("value") && object["value"].is_number_integer() && object["value"].get<std::int64_t>() >= 0) return type;
    return {};
}

Plist fromJson(const Json& value, int depth) {
    bool container = value.is_array() || (value.is_object() && tagOf(value).empty());
    if (container && depth > maxPropertyListDepth) return nullptr;
    switch (value.type()) {
    case Json::value_t::boolean:
        return Plist(plist_new_bool(value.get<bool>() ? 1 : 0));
    case Json::value_t::number_integer:
        return Plist(plist_new_uint(static_cast<std::uint64_t>(value.get<std::int64_t>())));
    case Json::value_t::number_unsigned:
        // The format's integers are signed: a larger one would come back negative.
        if (value.get<std::uint64_t>() > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            return nullptr;
        return Plist(plist_new_uint(value.get<std::uint64_t>()));
    case Json::value_t::number_float:
        return Plist(plist_new_real(value.get<double>()));
    case Json::value_t::string:
        // libplist takes C strings: a NUL would silently cut the text short.
        if (value.get_ref<const std::string&>().find('\0') != std::string::npos) return nullptr;
        return Plist(plist_new_string(value.get_ref<const std::string&>().c_str()));
    case Json::value_t::binary: {
        const auto& bytes = value.get_binary();
        return Plist(plist_new_data(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    case Json::value_t::array: {
        Plist array(plist_new_array());
        for (const auto& item : value) {
            Plist node = fromJson(item, depth + 1);
            if (!node) return nullptr;
            plist_array_append_item(array.get(), node.release());
        }
        return array;
    }
    case Json::value_t::object: {
        std::string tag = tagOf(value);
        if (tag == "data") {
            auto bytes = base64Decode(value["base64"].get<std::string>());
            if (!bytes) return nullptr;
            return Plist(plist_new_data(bytes->data(), bytes->size()));
        }
        if (tag == "date") {
            double seconds = value["seconds"].get<double>();
            if (!std::isfinite(seconds) || std::fabs(seconds) > std::numeric_limits<std::int32_t>::max()) return nullptr;
            double whole = std::floor(seconds);
            auto microseconds = static_cast<std::int32_t>(std::llround((seconds - whole) * 1e6));
            auto wholeSeconds = static_cast<std::int32_t>(whole);
            if (microseconds == 1000000) {
                microseconds = 0;
                ++wholeSeconds;
            }
            return Plist(plist_new_date(wholeSeconds, microseconds));
        }
        if (tag == "uid") return Plist(plist_new_uid(value["value"].get<std::uint64_t>()));
        Plist dict(plist_new_dict());
        for (auto it = value.begin(); it != value.end(); ++it) {
            if (it.key().find('\0') != std::string::npos) return nullptr;
            Plist node = fromJson(it.value(), depth + 1);
            if (!node) return nullptr;
            plist_dict_set_item(dict.get(), it.key().c_str(), node.release());
        }
        return dict;
    }
    default:
        return nullptr;
    }
}

std::optional<std::string> serialize(plist_t node, bool binary) {
    if (!node) return std::nullopt;
    char* out = nullptr;  // libplist writes nothing unless this starts out null
    std::uint32_t length = 0;
    if (binary) {
        plist_to_bin(node, &out, &length);
    } else {
        plist_to_xml(node, &out, &length);
    }
    if (!out) return std::nullopt;
    std::string bytes(out, length);
    if (binary) {
        plist_to_bin_free(out);
    } else {
        plist_to_xml_free(out);
    }
    return bytes;
}

}  // namespace

std::optional<nlohmann::json> parsePropertyList(std::string_view bytes) {
    Plist root = parseTrusted(bytes);
    if (!root) return std::nullopt;
    return toJson(static_cast<plist_t>(root.get()), 1);
}

std::optional<std::string> topLevelString(std::string_view bytes, const std::string& key) {
    Plist root = parseTrusted(bytes);
    if (!root || plist_get_node_type(root.get()) != PLIST_DICT) return std::nullopt;
    plist_t node = plist_dict_get_item(root.get(), key.c_str());
    if (!node || plist_get_node_type(node) != PLIST_STRING) return std::nullopt;
    std::uint64_t length = 0;
    const char* text = plist_get_string_ptr(node, &length);
    return platform::repairUtf8(text ? std::string_view(text, length) : std::string_view{});
}

std::optional<std::string> binaryPropertyList(const nlohmann::json& value) {
    Plist root = fromJson(value, 1);
    return serialize(root.get(), true);
}

std::optional<std::string> xmlPropertyList(const nlohmann::json& value) {
    Plist root = fromJson(value, 1);
    return serialize(root.get(), false);
}

std::optional<std::string> mergeIntoPropertyList(const std::optional<std::string>& existing,
                                                 const std::map<std::string, std::optional<nlohmann::json>>& changes) {
    Plist root = existing ? parseTrusted(*existing, Purpose::rewriting) : Plist(plist_new_dict());
    if (!root || plist_get_node_type(root.get()) != PLIST_DICT) return std::nullopt;
    for (const auto& [key, value] : changes) {
        if (!value || value->is_null()) {
            plist_dict_remove_item(root.get(), key.c_str());
            continue;
        }
        Plist node = fromJson(*value, 2);
        if (!node) return std::nullopt;
        plist_dict_set_item(root.get(), key.c_str(), node.release());
    }
    // Whatever is written must read back.
    if (!toJson(root.get(), 1)) return std::nullopt;
    return serialize(root.get(), true);
}

}  // namespace desktop
