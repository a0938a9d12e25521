#pragma once

#include <string>

namespace platform {

// An error as the platform reports it: a domain, a numeric code and the
// localized description that is shown to the user.
struct Error {
    std::string domain;
    long code = 0;
    std::string description;
};

}  // namespace platform
