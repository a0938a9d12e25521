#pragma once

// Reading and writing the simulated Mac's geometry in scenes, verbs and the
// desktop state: rectangles as [x, y, width, height], points as [x, y].

#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "platform/Geometry.h"

namespace desktop {

// Four finite numbers with a width and height not below zero; nothing otherwise.
std::optional<platform::Rect> rectFromJson(const nlohmann::json& value);
// Two finite numbers; nothing otherwise.
std::optional<platform::Point> pointFromJson(const nlohmann::json& value);
nlohmann::json rectJson(platform::Rect rect);
nlohmann::json pointJson(platform::Point point);
// A whole word as a finite number ("12", "-3.5"); nothing for anything else.
std::optional<double> numberFromWord(const std::string& word);

}  // namespace desktop
