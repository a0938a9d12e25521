#pragma once

// Reads a fuzzer's bytes front to back as the values a session step needs.
// Every read succeeds: past the end it reads zeros, so any prefix of an
// input decodes and a shorter input is a shorter session. StepWriter writes
// the same encodings, so seeds can be written as steps.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace orvane::fuzz {

// The tags of the encodings, shared by the reader and the writer.
namespace encoding {
// integer(): tag % 8.
enum IntegerTag : std::uint8_t { small = 0, signedByte, minimum, maximum, int32Maximum, minusOne, raw, zero };
inline constexpr int smallBase = -2;  // small: byte % 16 + smallBase
// number(): tag % 8.
enum NumberTag : std::uint8_t { half = 0, negativeZero, huge, negativeHuge, hiddenDelay, tiny, integral, rawDouble };
// text(pool): a tag below pooledLimit picks pool[tag % size]; otherwise
// (tag - pooledLimit) % 4 says how: raw bytes of a length (next byte % 64),
// a long run of one byte, empty, or (textValue only) a value of any type.
inline constexpr std::uint8_t pooledLimit = 0xC0;
enum TextTag : std::uint8_t { rawText = 0, longRun = 1, emptyText = 2, anyText = 3 };
inline constexpr std::size_t rawTextLimit = 64;
inline constexpr std::size_t longRunLength = 5000;
// value(): tag % 8.
enum ValueTag : std::uint8_t {
    nullValue = 0,
    booleanValue,
    integerValue,
    numberValue,
    textValue,
    arrayValue,
    objectValue,
    deepValue
};
inline constexpr int maximumValueDepth = 3;
inline constexpr int deepValueLevels = 64;
// boolean(): tag % 8: 1 true, 7 a value of any type, others false.
// integerValue(): an integer() whose tag % 8 is 7 gives a value of any type.
inline constexpr std::uint8_t anyTypeTag = 7;
}  // namespace encoding

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool exhausted() const { return position_ >= size_; }
    std::size_t position() const { return position_; }

    std::uint8_t byte();
    std::uint16_t word();  // two bytes, little-endian
    std::size_t choice(std::size_t count) { return count == 0 ? 0 : byte() % count; }
    bool flag() { return byte() & 1; }
    // Small and extreme integers.
    std::int64_t integer();
    // Everyday and extreme reals (a raw one may be NaN or infinite).
    double number();
    // A string of the pool, or raw bytes (not necessarily UTF-8).
    std::string text(const std::vector<std::string>& pool);
    // Up to count raw bytes.
    std::string bytes(std::size_t count);
    // Any JSON value, strings drawn from the pool or raw.
    nlohmann::json value(const std::vector<std::string>& pool, int depth = encoding::maximumValueDepth);

    // A value of the expected kind, or now and then one of any kind: the
    // argument readers must take a wrong type for missing.
    nlohmann::json boolean();
    nlohmann::json integerValue();
    nlohmann::json textValue(const std::vector<std::string>& pool);

private:
    std::int64_t integerOfTag(std::uint8_t tag);
    std::string textOfTag(std::uint8_t tag, const std::vector<std::string>& pool);

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

}  // namespace orvane::fuzz
