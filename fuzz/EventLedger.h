#pragma once

// Counts the events a session's steps must or may produce and checks every
// drain against them: nothing a step must produce is lost, nothing appears
// more often than the steps since the last drain allow, and every record has
// the shape of its kind.

#include <map>
#include <string>

#include <nlohmann/json.hpp>

#include "model/EventKinds.h"

namespace orvane::fuzz {

class EventLedger {
public:
    // Buckets: an event kind, or for errors its cause.
    static std::string bucket(EventKind kind) { return std::string(kindName(kind)); }
    static constexpr const char* missingApp = "error:missing";
    static constexpr const char* openFailed = "error:open";
    static constexpr const char* dockFailed = "error:dock";

    // The controller's queue was replaced or discarded (start, stop).
    void reset();
    // The next drains must hold one more event of the bucket.
    void expect(const std::string& bucket) { ++exact_[bucket]; }
    void expect(EventKind kind) { expect(bucket(kind)); }
    // The next drains may hold one more event of the bucket.
    void allow(const std::string& bucket) { ++allowed_[bucket]; }
    void allow(EventKind kind) { allow(bucket(kind)); }
    // Any number is fine (the keep-hidden check reports when it fails).
    void allowAny(const std::string& bucket) { unbounded_[bucket] = true; }
    // One more event of any of the settings window's kinds may come (a
    // person's action in the window emits at most one).
    void allowOneSettingsEvent() { ++settingsActions_; }
    // One more event of the bucket may come in any later drain, even to a
    // controller started later: a completion that finds whichever
    // controller is in the slot when it arrives.
    void allowLater(const std::string& bucket) { ++later_[bucket]; }
    // A drain: checks each record's shape and the counts, then clears them.
    void drained(const nlohmann::json& events);

    // The bucket of a record (its kind, or the cause of an error); throws
    // when the record has no shape the library produces.
    static std::string bucketOf(const nlohmann::json& record);

private:
    std::map<std::string, int> exact_;
    std::map<std::string, int> allowed_;
    std::map<std::string, bool> unbounded_;
    std::map<std::string, int> later_;
    int settingsActions_ = 0;
};

}  // namespace orvane::fuzz
