#pragma once

// desktop/scene/ holds what every part of the simulated Mac shares to read its
// scene: lenient member readers and the geometry's JSON form.
//
// Reading a scene's JSON leniently, as the simulated Mac does everywhere: a
// missing key or a value of the wrong type takes the documented default.

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "platform/Geometry.h"

namespace desktop::scene {

using nlohmann::json;

// The member, or null when the object is not an object or lacks the key.
const json& member(const json& object, const char* key);
std::optional<std::string> string(const json& object, const char* key);
bool boolean(const json& object, const char* key, bool fallback);
// Finite numbers only.
std::optional<double> number(const json& object, const char* key);
// [x, y, width, height] of finite numbers.
std::optional<platform::Rect> rect(const json& value);

}  // namespace desktop::scene
