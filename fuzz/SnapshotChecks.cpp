#include "fuzz/SnapshotChecks.h"

#include <algorithm>
#include <set>

#include "controller/NativeController.h"
#include "dock/DockTexts.h"
#include "fuzz/Invariant.h"
#include "platform/Application.h"
#include "preview/PreviewLayout.h"
#include "preview/PreviewTexts.h"
#include "model/Brand.h"
#include "strip/StripTexts.h"

namespace orvane::fuzz {

namespace {

using nlohmann::json;

enum class Type { boolean, integer, number, string, array, object, rect };

struct Key {
    const char* name;
    Type type;
};

constexpr Key snapshotKeys[] = {
    {"trusted", Type::boolean},
    {"visible", Type::array},
    {"hidden", Type::array},
    {"running", Type::array},
    {"detections", Type::object},
    {"scanning", Type::boolean},
    {"width", Type::number},
    {"offset", Type::integer},
    {"scrollAnimations", Type::integer},
    {"frame", Type::rect},
    {"card", Type::string},
    {"cardWindowID", Type::integer},
    {"cardFrame", Type::rect},
    {"centered", Type::boolean},
    {"lastAction", Type::string},
    {"menuBarHeight", Type::number},
    {"brand", Type::string},
    {"screenCapture", Type::boolean},
    {"screenCaptureStatus", Type::string},
    {"captureError", Type::string},
    {"dockError", Type::string},
    {"preview", Type::object},
    {"settingsVisible", Type::boolean},
    {"dockStatus", Type::string},
    {"controls", Type::array},
};

bool hasType(const json& value, Type type) {
    switch (type) {
    case Type::boolean: return value.is_boolean();
    case Type::integer: return value.is_number_integer();
    case Type::number: return value.is_number();
    case Type::string: return value.is_string();
    case Type::array: return value.is_array();
    case Type::object: return value.is_object();
    case Type::rect:
        return value.is_object() && value.size() == 4 && value.contains("x") && value["x"].is_number() &&
               value.contains("y") && value["y"].is_number() && value.contains("width") && value["width"].is_number() &&
               value.contains("height") && value["height"].is_number();
    }
    return false;
}

bool isAppDictionary(const json& value) {
    if (!value.is_object() || value.size() != 4) return false;
    for (const char* key : {"id", "name", "path", "policy"})
        if (!value.contains(key) || !value[key].is_string()) return false;
    return true;
}

bool isZeroRect(const json& rect) {
    return rect["x"] == 0 && rect["y"] == 0 && rect["width"] == 0 && rect["height"] == 0;
}

std::string shown(const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace).substr(0, 400);
}

void checkTypes(const json& snapshot) {
    require(snapshot.size() == std::size(snapshotKeys),
            [&] { return std::string("the snapshot has " + std::to_string(snapshot.size()) + " keys, not 25"); });
    for (const auto& key : snapshotKeys) {
        auto found = snapshot.find(key.name);
        require(found != snapshot.end(),
                [&] { return std::string(std::string("the snapshot lacks \"") + key.name + "\""); });
        require(hasType(*found, key.type), [&] {
            return std::string(std::string("the snapshot's \"") + key.name + "\" has the wrong type: " + shown(*found));
        });
    }
    for (const char* list : {"visible", "running"})
        for (const auto& app : snapshot[list])
            require(isAppDictionary(app), [&] {
                return std::string(std::string("an entry of \"") + list + "\" is not an app record: " + shown(app));
            });
    for (const auto& id : snapshot["hidden"]) require(id.is_string(), "a hidden id is not a string");
    for (const auto& value : snapshot["detections"])
        require(value == "present" || value == "absent" || value == "unknown",
                [&] { return std::string("a detection of no known value: " + shown(value)); });
    for (const auto& control : snapshot["controls"])
        require(control.is_object() && control.size() == 3 && control.value("label", json()).is_string() &&
                    control.value("x", json()).is_number() && control.value("width", json()).is_number(),
                [&] { return std::string("a control is not {label, x, width}: " + shown(control)); });
    require(snapshot["brand"] == Brand::name,
            [&] { return std::string("the snapshot's brand: " + shown(snapshot["brand"])); });
    const std::string status = snapshot["dockStatus"].get<std::string>();
    require(status == dock::text::statusQaMode || status == dock::text::statusHidden ||
                status == dock::text::statusCalibrating || status == dock::text::statusOff,
            [&] { return std::string("a Dock status of no known kind: " + status); });
}

void checkStrip(const json& snapshot, const SnapshotContext& context) {
    const auto count = static_cast<std::int64_t>(snapshot["visible"].size());
    const auto offset = snapshot["offset"].get<std::int64_t>();
    if (!context.strip) {
        require(offset == 0 && snapshot["width"] == 0 && snapshot["controls"].empty() && isZeroRect(snapshot["frame"]),
                "a controller without a strip reports strip state");
        return;
    }
    // The strip's geometry: 29-point slots, 16-point arrows when it overflows,
    // margins of 3 points otherwise, and the 29-point manager control.
    const std::int64_t capacity = std::min<std::int64_t>(count, context.maxIcons);
    const bool overflowing = count > context.maxIcons;
    const double leading = overflowing ? 16 : 3;
    const double width = std::max(35.0, (overflowing ? 32 : 6) + 29.0 * double(capacity) + 29);
    require(offset >= 0 && offset <= std::max<std::int64_t>(0, count - capacity), [&] {
        return std::string("the offset " + std::to_string(offset) + " is outside 0.." +
                           std::to_string(count - capacity));
    });
    require(snapshot["width"] == width && snapshot["frame"]["width"] == width, [&] {
        return std::string("the strip is " + shown(snapshot["width"]) + " wide for " + std::to_string(count) +
                           " entries and " + std::to_string(context.maxIcons) + " slots");
    });

    const json& controls = snapshot["controls"];
    const std::size_t arrows = overflowing ? 2 : 0;
    require(controls.size() == std::size_t(capacity) + arrows + 1, [&] {
        return std::string("the strip has " + std::to_string(controls.size()) + " buttons for " +
                           std::to_string(capacity) + " slots" + (arrows ? " and arrows" : ""));
    });
    for (std::int64_t slot = 0; slot < capacity; ++slot) {
        const std::string name = snapshot["visible"][std::size_t(offset + slot)]["name"].get<std::string>();
        const std::string label = controls[std::size_t(slot)]["label"].get<std::string>();
        require(label == name + stripTexts::runningAppSuffix || label == name + stripTexts::idleAppSuffix, [&] {
            return std::string("slot " + std::to_string(slot) + " is labelled \"" + label + "\" but shows \"" + name +
                               "\"");
        });
        require(controls[std::size_t(slot)]["x"] == leading + 29.0 * double(slot),
                [&] { return std::string("slot " + std::to_string(slot) + " is out of place"); });
    }
    require(controls.back()["label"] == stripTexts::manager, "the last button is not the manager control");
}

void checkEntries(const json& snapshot, const SnapshotContext& context) {
    std::set<std::string> ids;
    for (const auto& app : context.pinned) ids.insert(app.id);
    for (const auto& app : snapshot["running"]) ids.insert(app["id"].get<std::string>());
    for (const auto& id : snapshot["hidden"])
        require(ids.count(id.get<std::string>()), [&] {
            return std::string("the hidden id \"" + id.get<std::string>() + "\" is neither pinned nor running");
        });
    // While the pointer rests on the strip a changed list waits; what shows is the list applied last.
    if (context.pendingRefresh) return;
    for (const auto& entry : snapshot["visible"]) {
        bool pinned = std::any_of(context.pinned.begin(), context.pinned.end(),
                                  [&](const AppEntry& app) { return app.dictionary() == entry; });
        bool running =
            std::find(snapshot["running"].begin(), snapshot["running"].end(), entry) != snapshot["running"].end();
        require(pinned || running,
                [&] { return std::string("the visible entry " + shown(entry) + " is neither pinned nor running"); });
    }
}

// The card's preview report: a known state, the selection inside the
// windows it lists (and that window's id and size when there is one), the
// card's fixed width, the picture's pixel size inside the bounds a capture
// may ask for.
void checkPreview(const json& preview) {
    static const std::set<std::string> states = {previewTexts::loading,     previewTexts::notRunning,
                                                 previewTexts::permissionRequired, previewTexts::noWindow,
                                                 previewTexts::unavailable, previewTexts::live};
    auto number = [&](const char* key) { return preview.contains(key) && preview[key].is_number(); };
    require(preview.is_object() && preview.value("status", json()).is_string() &&
                states.count(preview["status"].get<std::string>()),
            [&] { return std::string("an open card's preview reports no known state: " + shown(preview)); });
    require(number("windows") && number("index") && preview["windows"].is_number_unsigned(),
            [&] { return std::string("the preview's window count or selection: " + shown(preview)); });
    const auto windows = preview["windows"].get<std::uint64_t>();
    const auto index = preview["index"].get<std::int64_t>();
    require(windows == 0 ? index == 0 : index >= 0 && std::uint64_t(index) < windows,
            [&] { return std::string("the preview's selection lies outside its windows: " + shown(preview)); });
    require((windows > 0) == (preview.contains("windowID") && number("windowWidth") && number("windowHeight")),
            [&] { return std::string("the preview's selected window: " + shown(preview)); });
    require(preview.value("cardWidth", json()) == PreviewLayout::width,
            [&] { return std::string("the card is not 336 points wide: " + shown(preview)); });
    require(number("cardHeight") && preview["cardHeight"].get<double>() > 0,
            [&] { return std::string("the card has no height: " + shown(preview)); });
    if (preview["status"] == previewTexts::live)
        require(windows > 0 && preview.contains("displayedWindowID"),
                [&] { return std::string("a live preview shows no window: " + shown(preview)); });
}

void checkCard(const json& snapshot, const SnapshotContext& context) {
    const std::string card = snapshot["card"].get<std::string>();
    if (snapshot["cardWindowID"] == 0) {
        require(card.empty() && isZeroRect(snapshot["cardFrame"]) && snapshot["preview"].empty(), [&] {
            return std::string("no card window, yet card state: " + shown(snapshot["card"]) + " " +
                               shown(snapshot["cardFrame"]));
        });
        return;
    }
    if (card.empty()) return;
    checkPreview(snapshot["preview"]);
    // The acceptance self-preview shows the host's own card, which the strip never lists.
    if (context.qaMode && card == context.hostId) return;
    const json& visible = snapshot["visible"];
    require(std::any_of(visible.begin(), visible.end(), [&](const json& entry) { return entry["id"] == card; }),
            [&] { return std::string("the card's id \"" + card + "\" names no visible entry"); });
}

}  // namespace

SnapshotContext snapshotContext(const NativeController* controller) {
    SnapshotContext context;
    if (!controller) return context;
    const auto& state = controller->state();
    context.controller = true;
    context.strip = state.strip != nullptr;
    context.qaMode = state.qaMode;
    context.pendingRefresh = state.pendingRefresh;
    context.maxIcons = state.maxIcons;
    context.pinned = state.pinned;
    context.hostId = platform::application().mainBundleIdentifier().value_or("");
    return context;
}

void checkSnapshot(const json& snapshot, const SnapshotContext& context) {
    require(snapshot.is_object(), "the snapshot is not an object");
    if (!context.controller) {
        require(snapshot.empty(),
                [&] { return std::string("a snapshot without a controller is not {}: " + shown(snapshot)); });
        return;
    }
    checkTypes(snapshot);
    checkStrip(snapshot, context);
    checkEntries(snapshot, context);
    checkCard(snapshot, context);
    if (context.qaMode)
        require(snapshot["dockStatus"] == dock::text::statusQaMode, "acceptance mode is not the Dock status");
}

}  // namespace orvane::fuzz
