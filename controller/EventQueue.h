#pragma once

#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace orvane {

// The controller's queue of event records for the host: appended in the
// order things happen, never dropped or merged, drained whole.
class EventQueue {
public:
    EventQueue();
    ~EventQueue();
    EventQueue(const EventQueue&) = delete;
    EventQueue& operator=(const EventQueue&) = delete;

    // Appends a record; a record that is not an object with a string kind is
    // a programming error and is dropped rather than sent to the host.
    void emit(nlohmann::json record);
    // Appends an error record carrying message.
    void emitError(const std::string& message);
    // Every queued record, oldest first, as a JSON array; the queue is empty afterwards.
    nlohmann::json drain();

    std::size_t size() const;

private:
    std::vector<nlohmann::json> records_;
};

}  // namespace orvane
