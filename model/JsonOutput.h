#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

namespace orvane {

// Where a JSON value is written one piece at a time: objects and arrays are
// opened and closed around their members, and each member of an object is a
// key followed by one value. Keys of an object come in ascending byte order,
// the order replies list them in, so that an output writing text can write
// them as they come. One description of a value then serves every output:
// the reply text written straight from the state, or a tree to read.
class JsonOutput {
public:
    virtual ~JsonOutput() = default;

    virtual void beginObject() = 0;
    virtual void endObject() = 0;
    virtual void beginArray() = 0;
    virtual void endArray() = 0;
    // Returns this output, for the member's value: out.key("name").string(name).
    virtual JsonOutput& key(std::string_view name) = 0;

    virtual void boolean(bool value) = 0;
    virtual void integer(std::int64_t value) = 0;
    virtual void unsignedInteger(std::uint64_t value) = 0;
    virtual void number(double value) = 0;
    virtual void string(std::string_view value) = 0;
    // A value that already is a tree, written whole.
    virtual void value(const nlohmann::json& value) = 0;
};

// Writes one value into an output.
using JsonWriter = std::function<void(JsonOutput&)>;

}  // namespace orvane
