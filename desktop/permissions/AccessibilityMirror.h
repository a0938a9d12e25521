#pragma once

// What the accessibility server of the simulated Mac can read from each
// running process: its menu-bar extras and whether it answers at all. The main
// thread publishes a copy whenever a process starts or quits; the background
// worker reads it under a lock, so a scan never races a launch or a quit.

#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "platform/Accessibility.h"

namespace desktop {

struct ExtrasRecord {
    std::vector<platform::MenuBarExtra> extras;
    bool extrasReadable = true;
    bool childrenReadable = true;
    bool unresponsive = false;

    // Reads an app's "extras", "extrasReadable", "extrasChildrenReadable" and
    // "unresponsive" scene keys; an extra without "ownerPid" belongs to pid.
    static ExtrasRecord fromScene(const nlohmann::json& app, int pid);
};

class AccessibilityMirror {
public:
    static AccessibilityMirror& shared();

    void publish(int pid, ExtrasRecord record);
    void remove(int pid);
    void clear();
    std::optional<ExtrasRecord> lookup(int pid) const;

private:
    mutable std::mutex mutex_;
    std::map<int, ExtrasRecord> records_;
};

}  // namespace desktop
