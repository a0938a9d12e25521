#include "fuzz/FuzzInput.h"

#include <cstring>
#include <limits>

namespace orvane::fuzz {

using nlohmann::json;

std::uint8_t FuzzInput::byte() { return position_ < size_ ? data_[position_++] : 0; }

std::uint16_t FuzzInput::word() {
    std::uint16_t low = byte();
    return static_cast<std::uint16_t>(low | (byte() << 8));
}

std::string FuzzInput::bytes(std::size_t count) {
    std::size_t available = position_ < size_ ? size_ - position_ : 0;
    std::size_t taken = count < available ? count : available;
    std::string result(reinterpret_cast<const char*>(data_ + position_), taken);
    position_ += taken;
    return result;
}

std::int64_t FuzzInput::integerOfTag(std::uint8_t tag) {
    using namespace encoding;
    switch (tag % 8) {
    case small: return byte() % 16 + smallBase;
    case signedByte: return static_cast<std::int8_t>(byte());
    case minimum: return std::numeric_limits<std::int64_t>::min();
    case maximum: return std::numeric_limits<std::int64_t>::max();
    case int32Maximum: return std::numeric_limits<std::int32_t>::max();
    case minusOne: return -1;
    case raw: {
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i) bits |= std::uint64_t(byte()) << (8 * i);
        std::int64_t value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    default: return 0;
    }
}

std::int64_t FuzzInput::integer() { return integerOfTag(byte()); }

double FuzzInput::number() {
    using namespace encoding;
    switch (byte() % 8) {
    case half: return 0.5;
    case negativeZero: return -0.0;
    case huge: return std::numeric_limits<double>::max();
    case negativeHuge: return -std::numeric_limits<double>::max();
    case hiddenDelay: return 315360000.0;
    case tiny: return std::numeric_limits<double>::denorm_min();
    case integral: return static_cast<double>(static_cast<std::int8_t>(byte()));
    default: {
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i) bits |= std::uint64_t(byte()) << (8 * i);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    }
}

std::string FuzzInput::textOfTag(std::uint8_t tag, const std::vector<std::string>& pool) {
    using namespace encoding;
    if (tag < pooledLimit && !pool.empty()) return pool[tag % pool.size()];
    switch ((tag - pooledLimit) % 4) {
    case rawText: return bytes(byte() % rawTextLimit);
    case longRun: return std::string(longRunLength, static_cast<char>(byte()));
    default: return {};
    }
}

std::string FuzzInput::text(const std::vector<std::string>& pool) { return textOfTag(byte(), pool); }

json FuzzInput::value(const std::vector<std::string>& pool, int depth) {
    std::uint8_t tag = byte() % 8;
    if (depth <= 0 && (tag == encoding::arrayValue || tag == encoding::objectValue || tag == encoding::deepValue))
        tag = encoding::nullValue;
    switch (tag) {
    case encoding::nullValue: return nullptr;
    case encoding::booleanValue: return flag();
    case encoding::integerValue: {
        std::int64_t n = integer();
        // Now and then the same bits as an unsigned number, which no signed reader takes.
        if (n < 0 && flag()) return static_cast<std::uint64_t>(n);
        return n;
    }
    case encoding::numberValue: return number();
    case encoding::textValue: return text(pool);
    case encoding::arrayValue: {
        json array = json::array();
        for (std::size_t n = choice(4); n > 0; --n) array.push_back(value(pool, depth - 1));
        return array;
    }
    case encoding::objectValue: {
        json object = json::object();
        for (std::size_t n = choice(4); n > 0; --n) {
            std::string key = text(pool);
            object[key] = value(pool, depth - 1);
        }
        return object;
    }
    default: {
        json nested = value(pool, 0);
        for (int level = 0; level < encoding::deepValueLevels; ++level) nested = json::array({std::move(nested)});
        return nested;
    }
    }
}

json FuzzInput::boolean() {
    std::uint8_t tag = byte() % 8;
    if (tag == encoding::anyTypeTag) return value({});
    return tag == 1;
}

json FuzzInput::integerValue() {
    std::uint8_t tag = byte();
    if (tag % 8 == encoding::anyTypeTag) return value({});
    return integerOfTag(tag);
}

json FuzzInput::textValue(const std::vector<std::string>& pool) {
    std::uint8_t tag = byte();
    if (tag >= encoding::pooledLimit && (tag - encoding::pooledLimit) % 4 == encoding::anyText) return value(pool);
    return textOfTag(tag, pool);
}

}  // namespace orvane::fuzz
