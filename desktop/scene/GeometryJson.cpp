// Geometry in the simulated Mac's JSON: the one place that decides what a
// well-formed rectangle or point is, so scenes and verbs agree.

#include "desktop/scene/GeometryJson.h"

#include <cmath>
#include <cstdlib>

#include <nlohmann/json.hpp>

namespace desktop {
namespace {

std::optional<double> finiteNumber(const nlohmann::json& value) {
    if (!value.is_number()) return std::nullopt;
    double number = value.get<double>();
    if (!std::isfinite(number)) return std::nullopt;
    return number;
}

}  // namespace

std::optional<platform::Rect> rectFromJson(const nlohmann::json& value) {
    if (!value.is_array() || value.size() != 4) return std::nullopt;
    double parts[4];
    for (int i = 0; i < 4; ++i) {
        auto number = finiteNumber(value[i]);
        if (!number) return std::nullopt;
        parts[i] = *number;
    }
    if (parts[2] < 0 || parts[3] < 0) return std::nullopt;
    return platform::Rect{parts[0], parts[1], parts[2], parts[3]};
}

std::optional<platform::Point> pointFromJson(const nlohmann::json& value) {
    if (!value.is_array() || value.size() != 2) return std::nullopt;
    auto x = finiteNumber(value[0]);
    auto y = finiteNumber(value[1]);
    if (!x || !y) return std::nullopt;
    return platform::Point{*x, *y};
}

nlohmann::json rectJson(platform::Rect rect) {
    return nlohmann::json::array({rect.minX(), rect.minY(), rect.width(), rect.height()});
}

nlohmann::json pointJson(platform::Point point) { return nlohmann::json::array({point.x, point.y}); }

std::optional<double> numberFromWord(const std::string& word) {
    if (word.empty()) return std::nullopt;
    const char* begin = word.c_str();
    char* end = nullptr;
    double number = std::strtod(begin, &end);
    if (end != begin + word.size() || !std::isfinite(number)) return std::nullopt;
    return number;
}

}  // namespace desktop
