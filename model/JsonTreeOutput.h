#pragma once

#include <string>
#include <vector>

#include "model/JsonOutput.h"
#include "platform/Json.h"

namespace orvane {

// Builds the value written into it as a nlohmann::json tree, for the callers
// that read a value as JSON rather than send it. A key written again
// replaces the member, as assigning through the tree would.
class JsonTreeOutput final : public JsonOutput {
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

    // The value written; null when nothing was.
    nlohmann::json take() &&;

private:
    // Puts a finished value where the next one goes and returns it there.
    nlohmann::json& place(nlohmann::json value);

    nlohmann::json root_;
    // The objects and arrays still open, innermost last. Each is the last
    // member of the one before it, which nothing is added to while it is
    // open, so the pointers stay valid.
    std::vector<nlohmann::json*> open_;
    std::string key_;
};

}  // namespace orvane
