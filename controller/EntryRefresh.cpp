#include "controller/EntryRefresh.h"

#include <optional>
#include <unordered_set>

namespace orvane {

namespace {

// Whether some running application has the entry's bundle identifier, or
// else its bundle path. Only existence matters, so both are looked up in
// sets built once per computation instead of walking the list per entry.
class RunningIndex {
public:
    explicit RunningIndex(const std::vector<platform::RunningApp>& running) {
        for (const auto& app : running) {
            if (auto identifier = app->bundleIdentifier()) identifiers_.insert(std::move(*identifier));
            if (auto path = app->bundlePath()) paths_.insert(std::move(*path));
        }
    }
    bool runs(const AppEntry& entry) const { return identifiers_.contains(entry.id) || paths_.contains(entry.path); }

private:
    std::unordered_set<std::string> identifiers_;
    std::unordered_set<std::string> paths_;
};

}  // namespace

EntryComputation computeEntries(std::vector<platform::RunningApp> applications, const EntryInputs& inputs) {
    EntryComputation result;
    result.running.reserve(applications.size());
    for (auto& app : applications)
        if (app && !app->isTerminated()) result.running.push_back(std::move(app));

    std::unordered_set<std::string> seen;
    seen.reserve(inputs.pinned.size());
    for (const auto& entry : inputs.pinned) seen.insert(entry.id);

    std::vector<AppEntry> candidates(inputs.pinned);
    if (inputs.showRunning) {
        for (const auto& app : result.running) {
            if (app->activationPolicy() != platform::ActivationPolicy::regular) continue;
            if (app->processIdentifier() == inputs.ownPid) continue;
            auto entry = AppEntry::fromRunningApplication(*app);
            if (entry.path.empty()) continue;
            if (seen.insert(entry.id).second) candidates.push_back(std::move(entry));
        }
    }

    RunningIndex index(result.running);
    std::optional<bool> trusted;
    auto isTrusted = [&] {
        if (!trusted) trusted = inputs.trusted ? inputs.trusted() : false;
        return *trusted;
    };
    auto yields = [&](const AppEntry& entry) {
        if (!index.runs(entry)) return false;
        if (entry.policy == policy::whileNotRunning) return true;
        if (entry.policy != policy::automatic || !inputs.autoDedup) return false;
        auto detection = inputs.detections.find(entry.id);
        if (detection == inputs.detections.end() || detection->second != detection::present) return false;
        return isTrusted();
    };

    result.entries.reserve(candidates.size());
    for (auto& entry : candidates) {
        if (yields(entry))
            result.hidden.push_back(entry.id);
        else
            result.entries.push_back(std::move(entry));
    }
    return result;
}

bool sameIdSequence(const std::vector<AppEntry>& a, const std::vector<AppEntry>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].id != b[i].id) return false;
    return true;
}

}  // namespace orvane
