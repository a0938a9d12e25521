#include "bridge/Arguments.h"

#include <limits>

#include "platform/JsonMember.h"

namespace orvane {
namespace {

const nlohmann::json* find(const nlohmann::json& args, const char* key) {
    if (!args.is_object()) return nullptr;
    const auto it = args.find(key);
    return it == args.end() ? nullptr : &*it;
}

}  // namespace

std::optional<bool> boolArgument(const nlohmann::json& args, const char* key) {
    const auto* value = find(args, key);
    if (!value || !value->is_boolean()) return std::nullopt;
    return value->get<bool>();
}

std::optional<std::int64_t> integerArgument(const nlohmann::json& args, const char* key) {
    const auto* value = find(args, key);
    if (!value) return std::nullopt;
    if (value->is_number_unsigned()) {
        const auto n = value->get<std::uint64_t>();
        constexpr auto largest = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
        return n > largest ? std::numeric_limits<std::int64_t>::max() : static_cast<std::int64_t>(n);
    }
    if (value->is_number_integer()) return value->get<std::int64_t>();
    return std::nullopt;
}

std::optional<std::string> stringArgument(const nlohmann::json& args, const char* key) {
    return platform::stringMember(args, key);
}

}  // namespace orvane
