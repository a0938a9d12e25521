#pragma once

// Watches the Dock's preferences file through a session: the library may
// set "autohide" and "autohide-delay" and nothing else. A file that parses
// as a dictionary keeps every other key with its value and type; a file
// that does not (or a folder in its place) is left exactly as it was.

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace orvane::fuzz {

class DockFileGuard {
public:
    explicit DockFileGuard(std::string realPath) : path_(std::move(realPath)) {}

    // Takes the file as it is now as the user's (after a step replaced it).
    void adopt();
    // Throws when the library changed what it must not.
    void check() const;

private:
    struct Contents {
        enum class Kind { missing, folder, file } kind = Kind::missing;
        std::string bytes;
        // The keys other than the two the library writes, when the bytes parse as a dictionary.
        std::optional<nlohmann::json> others;
    };
    Contents read() const;
    void checkAgainstBaseline(const Contents& now) const;

    std::string path_;
    Contents baseline_;
    // The bytes of the last file that passed, which need no second look.
    mutable std::optional<std::string> passed_;
};

}  // namespace orvane::fuzz
