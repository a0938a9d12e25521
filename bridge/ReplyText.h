#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/JsonOutput.h"

namespace orvane {

// Writes the value given to it straight into reply text, the way the host's
// JSON reader expects it: compact, non-ASCII as raw UTF-8, "/" as "\/",
// control characters escaped, integral doubles without a fraction and other
// doubles in their shortest round-trip form. Keys are written as they come,
// so they must come sorted; a tree given whole is written with its keys
// sorted. The text is given up when something cannot be written: a
// non-finite number, a string that is not UTF-8, keys out of order, a
// member without its key, or a value left open.
class ReplyText final : public JsonOutput {
public:
    void beginObject() override;
    void endObject() override;
    void beginArray() override;
    void endArray() override;
    JsonOutput& key(std::string_view name) override;

    void boolean(bool value) override;
    void integer(std::int64_t value) override;
    void unsignedInteger(std::uint64_t value) override;
    void number(double value) override;
    void string(std::string_view value) override;
    void value(const nlohmann::json& value) override;

    // The text of the one value written; nothing when it could not be written.
    std::optional<std::string> take() &&;

private:
    // An object or array still open: whether it has a member yet and, for
    // an object, the last key, which the next must follow.
    struct Open {
        bool object = false;
        bool empty = true;
        std::string lastKey;
    };

    // Before a value: the comma after an array's previous element, or the
    // check that an object's member has its key.
    void startValue();
    void open(bool object, char bracket);
    void close(bool object, char bracket);

    // Replies are many short pieces (keys, small numbers, punctuation), so
    // appending stays inline: the buffer grows by doubling and each piece is
    // a bounds check and a copy.
    void put(char c);
    void put(const char* data, std::size_t length);
    void put(std::string_view piece);
    char* room(std::size_t length) {
        if (used_ + length > buffer_.size()) grow(length);
        char* at = buffer_.data() + used_;
        used_ += length;
        return at;
    }
    void grow(std::size_t length);
    bool writeString(std::string_view text);
    bool writeDouble(double value);
    bool writeTree(const nlohmann::json& value);

    std::string buffer_;
    std::size_t used_ = 0;
    std::vector<Open> open_;
    bool keyWritten_ = false;
    bool valueWritten_ = false;
    bool failed_ = false;
};

}  // namespace orvane
