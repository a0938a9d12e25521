#include "controller/ExtrasDetection.h"

#include <limits>
#include <unordered_set>

namespace orvane {

std::string applicationKey(const platform::RunningApplication& app) {
    if (auto identifier = app.bundleIdentifier()) return *identifier;
    if (auto path = app.bundlePath()) return *path;
    return {};
}

std::vector<ExtrasCandidate> extrasCandidates(const std::vector<platform::RunningApp>& running,
                                              const std::vector<AppEntry>& pinned, int ownPid) {
    std::unordered_set<std::string> pinnedIds;
    for (const auto& entry : pinned) pinnedIds.insert(entry.id);
    std::vector<ExtrasCandidate> candidates;
    for (const auto& app : running) {
        if (!app || app->processIdentifier() == ownPid) continue;
        bool regular = app->activationPolicy() == platform::ActivationPolicy::regular;
        if (!regular) {
            auto identifier = app->bundleIdentifier();
            if (!identifier || !pinnedIds.contains(*identifier)) continue;
        }
        candidates.push_back({std::int32_t(app->processIdentifier()), applicationKey(*app)});
    }
    return candidates;
}

bool inMenuBarBand(const platform::Rect& rect, const std::vector<platform::Rect>& screens) {
    for (const auto& screen : screens) {
        platform::Rect band(screen.minX(), screen.maxY() - detection::menuBarBand, screen.width(), detection::menuBarBand);
        if (band.contains(rect)) return true;
    }
    return false;
}

namespace {

bool qualifies(const platform::MenuBarExtra& extra, std::int32_t pid, double primaryTop,
               const std::vector<platform::Rect>& screens) {
    if (extra.ownerPid != pid || extra.hidden) return false;
    if (!extra.position || !extra.size) return false;
    if (!(extra.size->width > 0) || !(extra.size->height > 0)) return false;
    if (!extra.pressable) return false;
    platform::Rect rect(extra.position->x, primaryTop - extra.position->y - extra.size->height,
                        extra.size->width, extra.size->height);
    return inMenuBarBand(rect, screens);
}

}  // namespace

std::string extrasValue(const std::optional<std::vector<platform::MenuBarExtra>>& extras, std::int32_t pid,
                        const std::vector<platform::Rect>& screens) {
    if (!extras) return detection::unknown;
    double primaryTop = screens.empty() ? 0 : screens.front().maxY();
    for (const auto& extra : *extras)
        if (qualifies(extra, pid, primaryTop, screens)) return detection::present;
    return extras->empty() ? detection::absent : detection::unknown;
}

Detections detectExtras(const std::vector<ExtrasCandidate>& candidates, const std::vector<platform::Rect>& screens,
                        platform::Accessibility& accessibility) {
    Detections result;
    for (const auto& candidate : candidates) {
        if (candidate.key.empty()) continue;
        auto extras = accessibility.extras(candidate.pid, detection::messagingTimeout);
        auto value = extrasValue(extras, candidate.pid, screens);
        auto& slot = result[candidate.key];
        // An unreadable process overrides; otherwise a sibling's "present" stands.
        if (!extras || slot != detection::present) slot = std::move(value);
    }
    return result;
}

std::uint64_t nextEpoch(std::uint64_t epoch) {
    return epoch == std::numeric_limits<std::uint64_t>::max() ? 0 : epoch + 1;
}

}  // namespace orvane
