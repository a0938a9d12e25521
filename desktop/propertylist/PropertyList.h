#pragma once

// desktop/propertylist/ stands in for the platform's property-list
// serialization: the binary and XML formats read and written as JSON values.
//
// Property lists of the simulated Mac (preference files, Info.plist) as JSON.
// Booleans, integers, reals, strings, arrays and dictionaries map both ways
// with their types kept (an integer never turns into a real). Data, dates and
// UIDs, which JSON lacks, become tagged objects:
//   {"$plist":"data","base64":"..."}   {"$plist":"date","seconds":S}   {"$plist":"uid","value":N}
// (dates in seconds since 2001-01-01 UTC, as the format stores them).
//
// Files from the disk are untrusted: a list nested deeper than
// maxPropertyListDepth, a binary list whose references form a cycle or reach
// one container twice (which would be copied afresh at every reference: an
// exponential blow-up), one with a NUL in a dictionary key (libplist asserts
// on it), one holding a value libplist would read as another value (an ASCII
// string cut at a NUL, a UTF-16 one without its lone surrogate, a 16-byte
// integer beyond 64 bits, XML text garbled after a NUL, an XML number out of
// range or with stray text), or one that does not parse, is refused as a
// whole rather than read as other values. Integers keep their sign: 2^63 to
// 2^64-1 read as unsigned numbers; a UTF-16 string keeps its NULs.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

namespace desktop {

inline constexpr int maxPropertyListDepth = 256;
inline constexpr const char* propertyListTypeKey = "$plist";

// Binary ("bplist00") or XML; nothing when refused.
std::optional<nlohmann::json> parsePropertyList(std::string_view bytes);
// A list whose top level is a dictionary, checked and parsed whole (and
// refused whole, as parsePropertyList refuses), whose members are converted
// to JSON only when asked for: reading two values of a large file then costs
// little more than parsing it. value(key) equals parsePropertyList's
// member under key.
class PropertyListDictionary {
public:
    // Nothing when the list is refused or its top level is not a dictionary.
    static std::optional<PropertyListDictionary> parse(std::string_view bytes);
    std::optional<nlohmann::json> value(const std::string& key) const;

private:
    struct Tree;
    explicit PropertyListDictionary(std::shared_ptr<const Tree> tree) : tree_(std::move(tree)) {}
    std::shared_ptr<const Tree> tree_;
};

// The string under key in a list whose top level is a dictionary; nothing when
// the list is refused, the key is missing or its value is not a string.
// Cheaper than parsing the whole list into JSON.
std::optional<std::string> topLevelString(std::string_view bytes, const std::string& key);
// Nothing when the value has no property-list form: null, too deep, a NUL in
// a string or key (libplist takes C strings).
std::optional<std::string> binaryPropertyList(const nlohmann::json& value);
std::optional<std::string> xmlPropertyList(const nlohmann::json& value);

// Applies changes (a value sets the key, nothing removes it) to the dictionary
// stored in existing (no bytes: an empty dictionary) and returns the result as
// a binary list. Keys that are not changed keep their nodes exactly as they
// were read. Nothing when existing is refused, not a dictionary, or holds a
// value that would not read back exactly as the bytes hold it (writing would
// change it), or when a value has no property-list form.
std::optional<std::string> mergeIntoPropertyList(const std::optional<std::string>& existing,
                                                 const std::map<std::string, std::optional<nlohmann::json>>& changes);

}  // namespace desktop
