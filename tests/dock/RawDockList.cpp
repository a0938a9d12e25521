#include "tests/dock/RawDockList.h"

namespace orvane::test {

std::string asciiObject(const std::string& text) { return char(0x50 | text.size()) + text; }

std::string utf16Object(std::initializer_list<unsigned> units) {
    std::string object(1, char(0x60 | units.size()));
    for (unsigned unit : units) object += char(unit >> 8), object += char(unit & 0xFF);
    return object;
}

std::string integer16Object(std::uint64_t high, std::uint64_t low) {
    std::string object(1, '\x14');
    for (std::uint64_t half : {high, low})
        for (int shift = 56; shift >= 0; shift -= 8) object += char((half >> shift) & 0xFF);
    return object;
}

std::string integer8Object(std::uint64_t bits) {
    std::string object(1, '\x13');
    for (int shift = 56; shift >= 0; shift -= 8) object += char((bits >> shift) & 0xFF);
    return object;
}

std::string binaryList(const std::vector<std::string>& objects, int top) {
    std::string bytes = "bplist00";
    std::vector<std::size_t> offsets;
    for (const auto& object : objects) {
        offsets.push_back(bytes.size());
        bytes += object;
    }
    std::size_t table = bytes.size();
    for (auto offset : offsets) bytes += char(offset >> 8), bytes += char(offset & 0xFF);
    std::string trailer(32, '\0');
    trailer[6] = 2;  // offset size
    trailer[7] = 1;  // reference size
    trailer[15] = char(objects.size());
    trailer[23] = char(top);
    trailer[30] = char(table >> 8);
    trailer[31] = char(table & 0xFF);
    return bytes + trailer;
}

std::string binaryDock(const std::vector<std::pair<std::string, std::string>>& pairs) {
    std::vector<std::string> objects(1, std::string(1, char(0xD0 | pairs.size())));
    for (std::size_t i = 0; i < pairs.size(); ++i) objects[0] += char(1 + i);
    for (std::size_t i = 0; i < pairs.size(); ++i) objects[0] += char(1 + pairs.size() + i);
    for (const auto& pair : pairs) objects.push_back(pair.first);
    for (const auto& pair : pairs) objects.push_back(pair.second);
    return binaryList(objects);
}

std::string xmlDock(const std::vector<std::pair<std::string, std::string>>& pairs) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>";
    for (const auto& [key, element] : pairs) text += "<key>" + key + "</key>" + element;
    return text + "</dict></plist>\n";
}

}  // namespace orvane::test
