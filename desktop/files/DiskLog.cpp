// The simulated system's record of its own side effects (a real Mac would
// show them in its logs and in the Dock restarting).
#include "desktop/files/DiskLog.h"

#include <mutex>

#include <nlohmann/json.hpp>

namespace desktop {

namespace {

std::mutex logMutex;

nlohmann::json emptyLog() {
    return {{"toolRuns", nlohmann::json::array()},
            {"preferenceWrites", nlohmann::json::object()},
            {"dock", {{"reloads", 0}, {"preferences", nullptr}}}};
}

nlohmann::json& log() {
    static nlohmann::json entries = emptyLog();
    return entries;
}

}  // namespace

void logToolRun(const std::string& executable, const std::vector<std::string>& arguments, const nlohmann::json& outcome) {
    std::lock_guard lock(logMutex);
    log()["toolRuns"].push_back({{"executable", executable}, {"arguments", arguments}, {"outcome", outcome}});
}

void logPreferenceWrite(const std::string& domain) {
    std::lock_guard lock(logMutex);
    auto& writes = log()["preferenceWrites"];
    writes[domain] = writes.value(domain, 0) + 1;
}

void logDockReload(const nlohmann::json& preferences) {
    std::lock_guard lock(logMutex);
    auto& dock = log()["dock"];
    dock["reloads"] = dock["reloads"].get<int>() + 1;
    dock["preferences"] = preferences;
}

nlohmann::json diskLog() {
    std::lock_guard lock(logMutex);
    return log();
}

void clearDiskLog() {
    std::lock_guard lock(logMutex);
    log() = emptyLog();
}

}  // namespace desktop
