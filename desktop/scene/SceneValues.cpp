// Lenient reading of scene values for the simulated Mac: bad values fall back
// to defaults so that a broken scene still gives a usable desktop.

#include "desktop/scene/SceneValues.h"

#include <cmath>

#include "platform/JsonMember.h"

namespace desktop::scene {

const json& member(const json& object, const char* key) { return platform::member(object, key); }

std::optional<std::string> string(const json& object, const char* key) {
    return platform::stringMember(object, key);
}

bool boolean(const json& object, const char* key, bool fallback) {
    return platform::boolMember(object, key).value_or(fallback);
}

std::optional<double> number(const json& object, const char* key) { return platform::numberMember(object, key); }

std::optional<platform::Rect> rect(const json& value) {
    if (!value.is_array() || value.size() != 4) return std::nullopt;
    double v[4];
    for (int i = 0; i < 4; ++i) {
        if (!value[i].is_number()) return std::nullopt;
        v[i] = value[i].get<double>();
        if (!std::isfinite(v[i])) return std::nullopt;
    }
    return platform::Rect{v[0], v[1], v[2], v[3]};
}

}  // namespace desktop::scene
