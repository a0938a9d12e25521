#pragma once

// Numbers and points written into scripting verbs exactly, so that a step
// lands where the bytes chose and replays the same way.

#include <cstdio>
#include <string>

namespace orvane::fuzz {

inline std::string word(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

inline std::string at(double x, double y) { return word(x) + " " + word(y); }

}  // namespace orvane::fuzz
