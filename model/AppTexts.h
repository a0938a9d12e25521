#pragma once

// The texts of an application record that a user reads.
namespace orvane::texts {

// The name of an application that has none of its own.
inline constexpr const char* unnamedApplication = "应用";

}  // namespace orvane::texts
