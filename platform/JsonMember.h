#pragma once

#include <optional>
#include <string>

#include "platform/Json.h"

namespace platform {

// The string under key in an object; nothing when the key is missing or holds
// another type (a number or null never counts as text).
inline std::optional<std::string> stringMember(const Json& object, const char* key) {
    if (!object.is_object()) return std::nullopt;
    const auto it = object.find(key);
    if (it == object.end() || !it->is_string()) return std::nullopt;
    return it->get<std::string>();
}

}  // namespace platform
