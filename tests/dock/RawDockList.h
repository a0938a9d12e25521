#pragma once

// Dock preference files written object by object, for tests that need bytes
// a property-list writer would not produce: 16-byte integers, strings holding
// a NUL, lone surrogates and the like.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace orvane::test {

inline const std::string dockFile = "/Users/demo/Library/Preferences/com.apple.dock.plist";

// An ASCII string object.
std::string asciiObject(const std::string& text);
// A UTF-16 string object of the given code units.
std::string utf16Object(std::initializer_list<unsigned> units);
// A 16-byte integer object from its high and low 64-bit halves.
std::string integer16Object(std::uint64_t high, std::uint64_t low);
// An 8-byte integer object, which the format reads as signed.
std::string integer8Object(std::uint64_t bits);

// A binary list of raw objects, object `top` at the top (references one
// byte wide, offsets two).
std::string binaryList(const std::vector<std::string>& objects, int top = 0);

// A binary list whose top object is a dictionary of the given raw key and
// value objects (references one byte wide, as a small file has them).
std::string binaryDock(const std::vector<std::pair<std::string, std::string>>& pairs);

// An XML list whose top dictionary holds the given keys and raw elements.
std::string xmlDock(const std::vector<std::pair<std::string, std::string>>& pairs);

}  // namespace orvane::test
