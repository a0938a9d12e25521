#include "host/DemoRegions.h"

#include <algorithm>

namespace host {

namespace {

using nlohmann::json;

// How far left of the strip the menu-bar picture reaches, and the room kept
// around a card or a menu for its shadow.
constexpr double stripLead = 90;
constexpr double shadowRoom = 24;
// The strip is small: three pixels a point; a card or a menu, two.
constexpr double stripScale = 3;
constexpr double surfaceScale = 2;
// A menu's rows and padding, as the system draws them, and the width the
// picture allows for one.
constexpr double menuRow = 22, menuSeparator = 11, menuPadding = 5, menuWidth = 220;

struct Box {
    double minX, minY, maxX, maxY;
};

double number(const json& object, const char* key) {
    if (!object.is_object()) return 0;
    auto it = object.find(key);
    return it != object.end() && it->is_number() ? it->get<double>() : 0;
}

Box stripBox(const StepScene& scene) {
    const json frame = scene.snapshot.is_object() ? scene.snapshot.value("frame", json::object()) : json::object();
    const double x = number(frame, "x"), y = number(frame, "y");
    return {std::max(0.0, x - stripLead), y, scene.screenWidth, scene.screenHeight};
}

Box joined(Box a, Box b) {
    return {std::min(a.minX, b.minX), std::min(a.minY, b.minY), std::max(a.maxX, b.maxX), std::max(a.maxY, b.maxY)};
}

ScreenRegion regionOf(Box box, const StepScene& scene, double scale) {
    box = {std::max(0.0, box.minX), std::max(0.0, box.minY), std::min(scene.screenWidth, box.maxX),
           std::min(scene.screenHeight, box.maxY)};
    return {box.minX, box.minY, std::max(1.0, box.maxX - box.minX), std::max(1.0, box.maxY - box.minY), scale};
}

}  // namespace

ScreenRegion menuBarRegion(const StepScene& scene) { return regionOf(stripBox(scene), scene, stripScale); }

ScreenRegion cardRegion(const StepScene& scene) {
    // The card's frame is given from the top of the screen, as the host places windows.
    const json card = scene.snapshot.is_object() ? scene.snapshot.value("cardFrame", json::object()) : json::object();
    const double width = number(card, "width"), height = number(card, "height");
    const double left = number(card, "x"), bottom = scene.screenHeight - number(card, "y") - height;
    Box box = stripBox(scene);
    if (width > 0 && height > 0)
        box = joined(box, {left - shadowRoom, bottom - shadowRoom, left + width + shadowRoom, bottom + height});
    return regionOf(box, scene, surfaceScale);
}

ScreenRegion menuRegion(const StepScene& scene) {
    Box box = stripBox(scene);
    if (scene.menu.is_object() && scene.menu.contains("location") && scene.menu["location"].size() == 2) {
        const double x = scene.menu["location"][0].get<double>(), top = scene.menu["location"][1].get<double>();
        double height = 2 * menuPadding;
        for (const auto& item : scene.menu.value("items", json::array()))
            height += item.value("separator", false) ? menuSeparator : menuRow;
        box = joined(box, {x - shadowRoom, top - height - shadowRoom, x + menuWidth, top});
    }
    return regionOf(box, scene, surfaceScale);
}

}  // namespace host
