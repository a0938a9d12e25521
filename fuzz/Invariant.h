#pragma once

// A broken invariant of a fuzz session: what was expected and what was found.
// The fuzz target turns it into an abort with the message; the replay test
// into a failure.

#include <stdexcept>
#include <string>

namespace orvane::fuzz {

class InvariantBroken : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline void require(bool holds, const std::string& message) {
    if (!holds) throw InvariantBroken(message);
}

}  // namespace orvane::fuzz
