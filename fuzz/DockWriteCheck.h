#pragma once

// What one dockWrite must leave in the Dock's preferences file. After a
// success (and after a failed Dock restart, which comes after the save) the
// file holds exactly the two values asked for and the reply reads them back;
// after any other failure the file is byte for byte what it was. A write the
// store can hold (both keys, plain values, a file that is missing or a
// dictionary that writes back as it reads, the Dock running, outside
// acceptance mode) must succeed.

#include <string>

#include <nlohmann/json.hpp>

namespace orvane::fuzz {

class DockWriteCheck {
public:
    // Reads the file as it is before the write.
    DockWriteCheck(std::string realPath, nlohmann::json args, bool qaMode);

    // Throws when the reply or the file is not what the write must leave.
    void check(const nlohmann::json& reply) const;

private:
    bool mustSucceed() const;

    std::string path_;
    nlohmann::json args_;
    bool qaMode_;
    bool existed_;
    std::string before_;
};

}  // namespace orvane::fuzz
