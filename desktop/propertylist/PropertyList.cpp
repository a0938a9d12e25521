// Reads and writes property lists with libplist, standing in for the
// platform's property-list serialization. Untrusted bytes are checked before
// libplist sees them, because it follows binary references without limits.
#include "desktop/propertylist/PropertyList.h"

#include <plist/plist.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "desktop/propertylist/PropertyListChecks.h"
#include "desktop/propertylist/XmlListValues.h"
#include "platform/Utf8.h"

namespace desktop {

namespace {

using Json = nlohmann::json;

struct PlistFree {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using Plist = std::unique_ptr<void, PlistFree>;


Plist parseTrusted(std::string_view bytes, PropertyListPurpose purpose = PropertyListPurpose::reading) {
    if (bytes.empty() || bytes.size() > std::numeric_limits<std::uint32_t>::max()) return nullptr;
    plist_t root = nullptr;
    if (bytes.starts_with(binaryPropertyListMagic)) {
        if (!binaryListIsSafe(bytes, purpose)) return nullptr;
        plist_from_bin(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &root);
    } else {
        if (!xmlListIsSafe(bytes) || !xmlValuesReadExactly(bytes, purpose)) return nullptr;
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

// Whether an integer node whose 64 bits have the top one set holds an
// unsigned value (from 2^63 up, stored in 16 bytes) rather than a negative
// one. libplist 2.2 hands both over as the same 64 bits and keeps the
// difference only in the node's stored length, which no accessor shows but
// its XML writer follows: the node's XML text tells them apart.
bool storedUnsigned(plist_t node) {
    Plist copy(plist_copy(node));
    char* out = nullptr;  // libplist writes nothing unless this starts out null
    std::uint32_t length = 0;
    plist_to_xml(copy.get(), &out, &length);
    if (!out) return false;
    std::string_view text(out, length);
    auto start = text.find("<integer>");
    bool negative = start != std::string_view::npos && text.substr(start + 9, 1) == "-";
    plist_to_xml_free(out);
    return start != std::string_view::npos && !negative;
}

// An integer node of an unsigned value from 2^63 up. plist_new_uint stores
// every value in 8 bytes, where these would read back negative; libplist's
// XML parser stores them in the format's 16 bytes.
Plist unsignedIntegerNode(std::uint64_t value) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><integer>" +
                       std::to_string(value) + "</integer></plist>";
    plist_t node = nullptr;
    plist_from_xml(text.data(), static_cast<std::uint32_t>(text.size()), &node);
    return Plist(node);
}

bool isContainer(plist_t node) {
    plist_type type = plist_get_node_type(node);
    return type == PLIST_ARRAY || type == PLIST_DICT;
}

// Visits an array's items in order until visit answers false; false when it
// did. Arrays from the binary parser are linked lists, where fetching by index
// walks from the start each time, so items are only ever walked in order.
template <typename Visit>
bool everyItem(plist_t array, Visit visit) {
    plist_array_iter iterator = nullptr;
    plist_array_new_iter(array, &iterator);
    bool complete = true;
    while (iterator && complete) {
        plist_t item = nullptr;
        plist_array_next_item(array, iterator, &item);
        if (!item) break;
        complete = visit(item);
    }
    std::free(iterator);
    return complete;
}

// The same over a dictionary's values, without copying their keys.
template <typename Visit>
bool everyValue(plist_t dictionary, Visit visit) {
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(dictionary, &iterator);
    bool complete = true;
    while (iterator && complete) {
        plist_t value = nullptr;
        plist_dict_next_item(dictionary, iterator, nullptr, &value);
        if (!value) break;
        complete = visit(value);
    }
    std::free(iterator);
    return complete;
}

// The same over a dictionary's members, each key with malformed UTF-8 repaired.
template <typename Visit>
bool everyMember(plist_t dictionary, Visit visit) {
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(dictionary, &iterator);
    bool complete = true;
    while (iterator && complete) {
        char* key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(dictionary, iterator, &key, &value);
        if (!key) break;
        std::string name = platform::repairUtf8(key);
        std::free(key);
        complete = visit(std::move(name), value);
    }
    std::free(iterator);
    return complete;
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
        std::uint64_t value = 0;
        plist_get_uint_val(node, &value);
        if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) && !storedUnsigned(node))
            return Json(static_cast<std::int64_t>(value));
        return Json(value);
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
        array.get_ref<Json::array_t&>().reserve(plist_array_get_size(node));
        const bool complete = everyItem(node, [&](plist_t item) {
            auto converted = toJson(item, depth + 1);
            if (converted) array.push_back(std::move(*converted));
            return converted.has_value();
        });
        if (!complete) return std::nullopt;
        return array;
    }
    case PLIST_DICT: {
        Json object = Json::object();
        const bool complete = everyMember(node, [&](std::string key, plist_t value) {
            auto converted = toJson(value, depth + 1);
            if (converted) object.get_ref<Json::object_t&>().insert_or_assign(std::move(key), std::move(*converted));
            return converted.has_value();
        });
        if (!complete) return std::nullopt;
        return object;
    }
    default:
        return std::nullopt;
    }
}

// Whether toJson converts the node: every node is of a type it knows and no
// container lies deeper than it takes. Walks the tree without building
// anything, so that a list read a member at a time is refused exactly when
// the whole of it would be.
bool convertible(plist_t node, int depth) {
    if (!node || (isContainer(node) && depth > maxPropertyListDepth)) return false;
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: case PLIST_UINT: case PLIST_REAL: case PLIST_STRING: case PLIST_KEY:
    case PLIST_DATA: case PLIST_DATE: case PLIST_UID:
        return true;
    case PLIST_ARRAY:
        return everyItem(node, [&](plist_t item) { return convertible(item, depth + 1); });
    case PLIST_DICT:
        return everyValue(node, [&](plist_t value) { return convertible(value, depth + 1); });
    default:
        return false;
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
        if (value.get<std::uint64_t>() > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            return unsignedIntegerNode(value.get<std::uint64_t>());
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

struct PropertyListDictionary::Tree {
    Plist root;
    // Each member under its key as toJson names it (malformed UTF-8
    // repaired; of keys that repair alike, the last wins, as in toJson).
    std::map<std::string, plist_t> members;
};

std::optional<PropertyListDictionary> PropertyListDictionary::parse(std::string_view bytes) {
    Plist root = parseTrusted(bytes);
    if (!root || plist_get_node_type(root.get()) != PLIST_DICT || !convertible(root.get(), 1)) return std::nullopt;
    auto tree = std::make_shared<Tree>();
    everyMember(root.get(), [&](std::string key, plist_t value) {
        tree->members.insert_or_assign(std::move(key), value);
        return true;
    });
    tree->root = std::move(root);
    return PropertyListDictionary(std::move(tree));
}

std::optional<nlohmann::json> PropertyListDictionary::value(const std::string& key) const {
    auto found = tree_->members.find(key);
    if (found == tree_->members.end()) return std::nullopt;
    return toJson(found->second, 2);
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
    Plist root = existing ? parseTrusted(*existing, PropertyListPurpose::rewriting) : Plist(plist_new_dict());
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
