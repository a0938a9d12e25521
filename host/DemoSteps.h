#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/Library.h"

namespace host {

// A part of the screen in points (origin bottom-left), pictured at scale
// pixels a point.
struct ScreenRegion {
    double x = 0, y = 0, width = 0, height = 0;
    double scale = 2;
};

// What the demo knows after a step's lines ran: the library's snapshot, the
// open menu (null when none) and the first screen's size.
struct StepScene {
    nlohmann::json snapshot;
    nlohmann::json menu;
    double screenWidth = 0, screenHeight = 0;
};

// A picture that shows what a step is about, at a size a person reads, with
// what to look at in it. Either a region of the screen, or one of the
// pictures the library saved of its own surfaces ("card.png", "settings.png").
struct CloseUp {
    std::string caption;
    std::optional<ScreenRegion> region;
    std::string surface;
};

// What a step sends. Most lines are fixed; some depend on what the library
// answered before (where an icon sits, what the catalogue holds).
using StepLines = std::function<std::vector<std::string>(const Library&)>;
using StepCloseUps = std::function<std::vector<CloseUp>(const StepScene&)>;

struct Step {
    std::string title;
    std::string note;
    StepLines lines;
    StepCloseUps closeUps;
};

// The built-in session: the light run, then the same surfaces in dark appearance.
std::vector<Step> demoSteps();

}  // namespace host
