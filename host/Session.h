#pragma once

#include <functional>
#include <istream>
#include <string>

#include "host/Library.h"

namespace host {

// Runs a host session line by line: a JSON line goes to orvane_call, a line
// starting with "!" scripts the simulated Mac. Between lines the main run
// loop turns, as it would between the host's own events.
class Session {
public:
    Session(const Library& library, bool manualClock) : library_(library), manualClock_(manualClock) {}

    // The reply (or verb result) of one line; empty for blank and comment lines.
    std::string run(const std::string& line);
    // Runs every line of the stream, handing each non-empty reply to sink.
    void runAll(std::istream& input, const std::function<void(const std::string& line, const std::string& reply)>& sink);

private:
    const Library& library_;
    bool manualClock_;
};

}  // namespace host
