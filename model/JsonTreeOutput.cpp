#include "model/JsonTreeOutput.h"

#include <utility>

namespace orvane {

nlohmann::json& JsonTreeOutput::place(nlohmann::json value) {
    if (open_.empty()) return root_ = std::move(value);
    nlohmann::json& parent = *open_.back();
    if (parent.is_array()) {
        auto& elements = parent.get_ref<nlohmann::json::array_t&>();
        elements.push_back(std::move(value));
        return elements.back();
    }
    auto& members = parent.get_ref<nlohmann::json::object_t&>();
    return members.insert_or_assign(std::move(key_), std::move(value)).first->second;
}

void JsonTreeOutput::beginObject() { open_.push_back(&place(nlohmann::json::value_t::object)); }

void JsonTreeOutput::beginArray() { open_.push_back(&place(nlohmann::json::value_t::array)); }

void JsonTreeOutput::endObject() {
    if (!open_.empty()) open_.pop_back();
}

void JsonTreeOutput::endArray() {
    if (!open_.empty()) open_.pop_back();
}

JsonOutput& JsonTreeOutput::key(std::string_view name) {
    key_.assign(name);
    return *this;
}

void JsonTreeOutput::boolean(bool value) { place(value); }

void JsonTreeOutput::integer(std::int64_t value) { place(value); }

void JsonTreeOutput::unsignedInteger(std::uint64_t value) { place(value); }

void JsonTreeOutput::number(double value) { place(value); }

void JsonTreeOutput::string(std::string_view value) { place(nlohmann::json::string_t(value)); }

void JsonTreeOutput::value(const nlohmann::json& value) { place(value); }

nlohmann::json JsonTreeOutput::take() && { return std::move(root_); }

}  // namespace orvane
