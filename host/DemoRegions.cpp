#include "host/DemoRegions.h"

#include <algorithm>
#include <optional>

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

// The open menu's panel with room for its shadow; nothing when none is open.
std::optional<Box> openMenuBox(const StepScene& scene) {
    if (!scene.menu.is_object() || !scene.menu.contains("location") || scene.menu["location"].size() != 2) return std::nullopt;
    const double x = scene.menu["location"][0].get<double>(), top = scene.menu["location"][1].get<double>();
    double height = 2 * menuPadding;
    for (const auto& item : scene.menu.value("items", json::array()))
        height += item.value("separator", false) ? menuSeparator : menuRow;
    return Box{x - shadowRoom, top - height - shadowRoom, x + menuWidth, top + shadowRoom / 2};
}

ScreenRegion menuRegion(const StepScene& scene) {
    Box box = stripBox(scene);
    if (auto menu = openMenuBox(scene)) box = joined(box, *menu);
    return regionOf(box, scene, surfaceScale);
}

ScreenRegion popUpRegion(const StepScene& scene) {
    // Wide enough to show the row the pop-up button sits in.
    constexpr double rowLead = 600, rowTrail = 60, rowRoom = 40;
    auto menu = openMenuBox(scene);
    if (!menu) return regionOf({0, 0, scene.screenWidth, scene.screenHeight}, scene, surfaceScale);
    return regionOf({menu->minX - rowLead, menu->minY - rowRoom, menu->maxX + rowTrail, menu->maxY + rowRoom}, scene,
                    surfaceScale);
}

}  // namespace host
