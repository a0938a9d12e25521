// The accessibility server's view of the simulated Mac's processes, standing
// in for what other processes answer through their accessibility elements.

#include "desktop/permissions/AccessibilityMirror.h"

#include <climits>

#include <nlohmann/json.hpp>

#include "desktop/scene/SceneValues.h"

namespace desktop {

ExtrasRecord ExtrasRecord::fromScene(const nlohmann::json& app, int pid) {
    ExtrasRecord record;
    record.extrasReadable = scene::boolean(app, "extrasReadable", true);
    record.childrenReadable = scene::boolean(app, "extrasChildrenReadable", true);
    record.unresponsive = scene::boolean(app, "unresponsive", false);
    const auto& extras = scene::member(app, "extras");
    if (!extras.is_array()) return record;
    for (const auto& item : extras) {
        if (!item.is_object()) continue;
        platform::MenuBarExtra extra;
        auto owner = scene::number(item, "ownerPid");
        extra.ownerPid = owner && *owner >= INT_MIN && *owner <= INT_MAX ? static_cast<int>(*owner) : pid;
        extra.hidden = scene::boolean(item, "hidden", false);
        extra.pressable = scene::boolean(item, "pressable", true);
        if (auto frame = scene::rect(scene::member(item, "frame"))) {
            extra.position = frame->origin;  // top-left origin, as accessibility reports positions
            extra.size = frame->size;
        }
        record.extras.push_back(extra);
    }
    return record;
}

AccessibilityMirror& AccessibilityMirror::shared() {
    static auto* mirror = new AccessibilityMirror();
    return *mirror;
}

void AccessibilityMirror::publish(int pid, ExtrasRecord record) {
    std::lock_guard lock(mutex_);
    records_[pid] = std::move(record);
}

void AccessibilityMirror::remove(int pid) {
    std::lock_guard lock(mutex_);
    records_.erase(pid);
}

void AccessibilityMirror::clear() {
    std::lock_guard lock(mutex_);
    records_.clear();
}

std::optional<ExtrasRecord> AccessibilityMirror::lookup(int pid) const {
    std::lock_guard lock(mutex_);
    auto found = records_.find(pid);
    if (found == records_.end()) return std::nullopt;
    return found->second;
}

}  // namespace desktop
