#pragma once

#include <span>
#include <string_view>

namespace orvane {

// One kind of event record the host drains with `events`: its `kind`, the
// further keys it carries, and when it is queued.
struct EventKind {
    std::string_view kind;
    std::string_view keys;
    std::string_view when;
};

// Every kind the library queues, the settings window's included, each once.
std::span<const EventKind> eventKinds();

}  // namespace orvane
