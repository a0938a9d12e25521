#pragma once

// A broken invariant of a fuzz session: what was expected and what was found.
// The fuzz target turns it into an abort with the message; the replay test
// into a failure.

#include <stdexcept>
#include <string>
#include <type_traits>

namespace orvane::fuzz {

class InvariantBroken : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The message is a text, or a function that writes it only when the
// invariant is broken (checks run thousands of times a second).
template <typename Message>
void require(bool holds, Message&& message) {
    if (holds) return;
    if constexpr (std::is_invocable_v<Message>)
        throw InvariantBroken(message());
    else
        throw InvariantBroken(std::string(message));
}

}  // namespace orvane::fuzz
