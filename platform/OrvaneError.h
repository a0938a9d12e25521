#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <variant>

#include "platform/Error.h"

namespace platform {

// An error raised inside the library: the domain "Orvane", a numeric code and
// the Chinese message that is shown to the user. An error passed on from the
// platform keeps its own domain, code and description.
struct OrvaneError {
    std::string domain = "Orvane";
    long code = 0;
    std::string message;

    static OrvaneError passedOn(const Error& error) { return {error.domain, error.code, error.description}; }
    friend bool operator==(const OrvaneError&, const OrvaneError&) = default;
};

// The outcome of an operation that can fail: a value, or the error.
// Result<> is the outcome of an operation that returns nothing.
template <typename T = std::monostate>
class Result {
public:
    Result() requires std::is_default_constructible_v<T> : outcome_(T{}) {}
    Result(T value) : outcome_(std::move(value)) {}
    Result(OrvaneError error) : outcome_(std::move(error)) {}

    bool ok() const { return outcome_.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const { return std::get<0>(outcome_); }
    T& value() { return std::get<0>(outcome_); }
    const OrvaneError& error() const { return std::get<1>(outcome_); }

private:
    std::variant<T, OrvaneError> outcome_;
};

}  // namespace platform
