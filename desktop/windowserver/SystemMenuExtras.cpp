// The system's own end of the menu bar on the simulated Mac, standing in for
// the items the system and other applications keep right of a newly launched
// application's status items.

#include "desktop/windowserver/SystemMenuExtras.h"

#include <cmath>

#include <nlohmann/json.hpp>

namespace desktop {

namespace {

SystemMenuExtras& extras() {
    static SystemMenuExtras current;
    return current;
}

}  // namespace

void resetSystemMenuExtras(const nlohmann::json& scene) {
    SystemMenuExtras next;
    if (scene.is_object()) {
        if (auto clock = scene.find("menuBarClock"); clock != scene.end() && clock->is_string()) next.clock = *clock;
        if (auto width = scene.find("menuBarOccupiedWidth"); width != scene.end() && width->is_number()) {
            double value = width->get<double>();
            if (std::isfinite(value) && value > 0) next.occupiedWidth = value;
        }
    }
    extras() = std::move(next);
}

const SystemMenuExtras& systemMenuExtras() { return extras(); }

}  // namespace desktop
