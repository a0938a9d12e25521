#pragma once

// Reading one member of a JSON object, accepted only with exactly the
// expected type: a member that is missing or holds another type counts as
// missing, and a value that is not an object has no members. Every layer
// that reads the host's dictionaries, a property list or a scene reads
// through these.

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "platform/Json.h"

namespace platform {

// The member under key; null when the object is not an object or lacks the key.
inline const Json& member(const Json& object, const char* key) {
    static const Json missing;
    if (!object.is_object()) return missing;
    const auto it = object.find(key);
    return it == object.end() ? missing : *it;
}

// A number or null never counts as text.
inline std::optional<std::string> stringMember(const Json& object, const char* key) {
    const Json& value = member(object, key);
    if (!value.is_string()) return std::nullopt;
    return value.get<std::string>();
}

// Only true and false; a number is not a boolean.
inline std::optional<bool> boolMember(const Json& object, const char* key) {
    const Json& value = member(object, key);
    if (!value.is_boolean()) return std::nullopt;
    return value.get<bool>();
}

// Integers of either signedness; those beyond the signed 64-bit range
// saturate. A float or a boolean is missing.
inline std::optional<std::int64_t> integerMember(const Json& object, const char* key) {
    const Json& value = member(object, key);
    if (value.is_number_unsigned()) {
        const auto n = value.get<std::uint64_t>();
        constexpr auto largest = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
        return n > largest ? std::numeric_limits<std::int64_t>::max() : static_cast<std::int64_t>(n);
    }
    if (value.is_number_integer()) return value.get<std::int64_t>();
    return std::nullopt;
}

// Finite numbers of any kind.
inline std::optional<double> numberMember(const Json& object, const char* key) {
    const Json& value = member(object, key);
    if (!value.is_number()) return std::nullopt;
    const double number = value.get<double>();
    if (!std::isfinite(number)) return std::nullopt;
    return number;
}

}  // namespace platform
