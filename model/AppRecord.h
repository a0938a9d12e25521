#pragma once

// The app record shared by the catalogue and the Dock import: four strings
// "id", "name", "path" and "policy", and the Finder's own record, which both
// put into their lists because the Finder lives outside the folders and the
// Dock list they read.

#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace catalogue {

inline constexpr const char* policyAuto = "auto";
inline constexpr const char* policyAlways = "always";
inline constexpr const char* finderBundleIdentifier = "com.apple.finder";
// The Finder is always listed under its English name.
inline constexpr const char* finderName = "Finder";

nlohmann::json appRecord(const std::string& id, const std::string& name, const std::string& path, const std::string& policy);
// {"id": "com.apple.finder", "name": "Finder", "path": where the workspace
// finds it, "policy": "always"}, or nothing when the workspace does not know.
std::optional<nlohmann::json> finderRecord();

// The lowercased extension of the path's last component ("" without one),
// as the platform's pathExtension: "Tool.APP/" gives "app".
std::string lowercasePathExtension(const std::string& path);

}  // namespace catalogue
