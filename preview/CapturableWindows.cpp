#include "preview/CapturableWindows.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

namespace orvane {
namespace {

constexpr double minimumWidth = 100.0;
constexpr double minimumHeight = 80.0;
constexpr long ordinaryLayer = 0;

bool belongs(const platform::ShareableWindow& window, int processID, const std::optional<std::string>& bundleID) {
    const auto& owner = window.owningApplication;
    if (!owner) return false;
    if (owner->processID == processID) return true;
    return bundleID && owner->bundleIdentifier == bundleID;
}

bool qualifies(const platform::ShareableWindow& window) {
    // Written so that a frame that is not a number drops out.
    return window.windowLayer == ordinaryLayer && window.frame.width() >= minimumWidth &&
           window.frame.height() >= minimumHeight;
}

}  // namespace

std::vector<platform::ShareableWindow> capturableWindows(const std::vector<platform::ShareableWindow>& windows,
                                                         int processID, const std::optional<std::string>& bundleID,
                                                         const std::vector<std::int64_t>& onScreenOrder) {
    std::unordered_map<std::uint32_t, std::size_t> place;
    for (std::int64_t number : onScreenOrder) {
        if (number < 0 || number > std::numeric_limits<std::uint32_t>::max()) continue;
        place.emplace(static_cast<std::uint32_t>(number), place.size());
    }
    const std::size_t unlisted = std::numeric_limits<std::size_t>::max();
    auto rank = [&](std::uint32_t id) {
        auto found = place.find(id);
        return found == place.end() ? unlisted : found->second;
    };

    struct Ranked {
        std::size_t rank;
        const platform::ShareableWindow* window;
    };
    std::vector<Ranked> kept;
    for (const auto& window : windows)
        if (belongs(window, processID, bundleID) && qualifies(window)) kept.push_back({rank(window.windowID), &window});
    std::stable_sort(kept.begin(), kept.end(), [](const Ranked& a, const Ranked& b) {
        if (a.rank != b.rank) return a.rank < b.rank;
        return a.window->windowID < b.window->windowID;
    });

    std::vector<platform::ShareableWindow> result;
    result.reserve(kept.size());
    for (const auto& entry : kept) result.push_back(*entry.window);
    return result;
}

}  // namespace orvane
