#include "controller/EventQueue.h"

#include <cassert>

#include "model/EventRecords.h"
#include "platform/Json.h"
#include "platform/JsonMember.h"

namespace orvane {

EventQueue::EventQueue() = default;
EventQueue::~EventQueue() = default;

std::size_t EventQueue::size() const { return records_.size(); }

void EventQueue::emit(nlohmann::json record) {
    if (!platform::member(record, events::kindKey).is_string()) {
        assert(false && "an event record is an object with a string kind");
        return;
    }
    records_.push_back(std::move(record));
}

void EventQueue::emitError(const std::string& message) {
    emit(events::error(message));
}

nlohmann::json EventQueue::drain() {
    auto drained = platform::Json::array();
    for (auto& record : records_) drained.push_back(std::move(record));
    records_.clear();
    return drained;
}

}  // namespace orvane
