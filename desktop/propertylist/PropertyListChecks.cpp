// Checks of untrusted property-list bytes, standing in for the care the
// platform's own parser takes: the object graph of a binary list is walked
// with bounds on every offset and count before libplist sees it.
#include "desktop/propertylist/PropertyListChecks.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "desktop/propertylist/PropertyList.h"

namespace desktop {

namespace {

constexpr std::size_t trailerSize = 32;

std::uint64_t bigEndian(const unsigned char* bytes, std::size_t size) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i) value = (value << 8) | bytes[i];
    return value;
}


// The count of a string, data or container object (in the marker's low
// nibble, or as an integer object after the marker) and where its contents
// begin; nothing when the header runs past end.
struct Counted {
    std::uint64_t count = 0;
    std::uint64_t start = 0;
};
std::optional<Counted> countedAt(const unsigned char* data, std::uint64_t offset, std::uint64_t end) {
    std::uint64_t count = data[offset] & 0x0F;
    std::uint64_t position = offset + 1;
    if (count == 0x0F) {
        if (position >= end || (data[position] >> 4) != 0x1) return std::nullopt;
        std::size_t size = std::size_t{1} << (data[position] & 0x0F);
        if (size > 8 || position + 1 + size > end) return std::nullopt;
        count = bigEndian(data + position + 1, size);
        position += 1 + size;
    }
    return Counted{count, position};
}

// Whether libplist 2.2 keeps every code unit of a UTF-16 string object: it
// drops a lone surrogate. A NUL it keeps (the node's length counts it), but
// its writers cut the text there, so a list that is written back may not hold one.
enum class Utf16Nul { kept, refused };
bool utf16ReadsWhole(const unsigned char* data, std::uint64_t offset, std::uint64_t end, Utf16Nul nul) {
    auto text = countedAt(data, offset, end);
    if (!text || text->count > (end - text->start) / 2) return false;
    auto unit = [&](std::uint64_t i) { return bigEndian(data + text->start + 2 * i, 2); };
    for (std::uint64_t i = 0; i < text->count; ++i) {
        std::uint64_t u = unit(i);
        if ((u == 0 && nul == Utf16Nul::refused) || (u >= 0xDC00 && u <= 0xDFFF)) return false;
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (++i == text->count) return false;
            std::uint64_t low = unit(i);
            if (low < 0xDC00 || low > 0xDFFF) return false;
        }
    }
    return true;
}

// Whether a 16-byte integer object holds a value within 64 bits: libplist
// keeps only the low 64, and reads them as unsigned, so -5 in 16 bytes
// would come back as 2^64 - 5.
bool integer16WithinUnsigned64(const unsigned char* data, std::uint64_t offset, std::uint64_t end) {
    return offset + 17 <= end && bigEndian(data + offset + 1, 8) == 0;
}

// Whether libplist 2.2 reads the scalar object at offset as exactly what it
// holds and writes it back so. Besides what scalarReadable refuses: a byte
// beyond ASCII in an ASCII string is not text (the reader repairs it, so it
// would be written back changed), any string is cut at a NUL when written,
// and objects of other sizes and types are refused.
bool scalarReadsExactly(const unsigned char* data, std::uint64_t offset, std::uint64_t end) {
    unsigned char marker = data[offset];
    unsigned info = marker & 0x0F;
    switch (marker >> 4) {
    case 0x0:
        return marker == 0x08 || marker == 0x09;
    case 0x1:
        return info < 4 || (info == 4 && integer16WithinUnsigned64(data, offset, end));
    case 0x2:
        return info == 2 || info == 3;
    case 0x3:
        return info == 3;
    case 0x4:
    case 0x8:
        return true;
    case 0x5: {
        auto text = countedAt(data, offset, end);
        if (!text || text->count > end - text->start) return false;
        for (std::uint64_t i = 0; i < text->count; ++i)
            if (data[text->start + i] == 0 || data[text->start + i] > 0x7F) return false;
        return true;
    }
    case 0x6:
        return utf16ReadsWhole(data, offset, end, Utf16Nul::refused);
    default:
        return false;
    }
}

// Whether libplist 2.2 reads the scalar object at offset without losing any
// of it: it cuts an ASCII string at a NUL, drops a lone surrogate from a
// UTF-16 one, and keeps only the low 64 bits of a 16-byte integer.
bool scalarReadable(const unsigned char* data, std::uint64_t offset, std::uint64_t end) {
    unsigned char marker = data[offset];
    switch (marker >> 4) {
    case 0x1:
        return (marker & 0x0F) != 4 || integer16WithinUnsigned64(data, offset, end);
    case 0x5: {
        auto text = countedAt(data, offset, end);
        if (!text || text->count > end - text->start) return false;
        for (std::uint64_t i = 0; i < text->count; ++i)
            if (data[text->start + i] == 0) return false;
        return true;
    }
    case 0x6:
        return utf16ReadsWhole(data, offset, end, Utf16Nul::kept);
    default:
        return true;
    }
}

// Whether a dictionary key at offset holds no NUL: libplist hands keys over
// as C strings and asserts, ending the process, when one is cut short.
bool keyHasNoNul(const unsigned char* data, std::uint64_t offset, std::uint64_t end) {
    if (offset < binaryPropertyListMagic.size() || offset >= end) return false;
    unsigned type = data[offset] >> 4;
    if (type != 0x5 && type != 0x6) return true;
    auto text = countedAt(data, offset, end);
    std::uint64_t width = type == 0x6 ? 2 : 1;
    if (!text || text->count > (end - text->start) / width) return false;
    for (std::uint64_t i = 0; i < text->count; ++i)
        if (bigEndian(data + text->start + i * width, width) == 0) return false;
    return true;
}

}  // namespace

// Walks the object graph of a binary list from its top object and accepts it
// only when every container is reached once, nothing cycles, the nesting
// stays within the limit and no dictionary key holds a NUL. Scalars may be
// shared (writers share equal strings).
bool binaryListIsSafe(std::string_view bytes, PropertyListPurpose purpose) {
    if (bytes.size() < binaryPropertyListMagic.size() + trailerSize) return false;
    auto data = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* trailer = data + bytes.size() - trailerSize;
    std::size_t offsetSize = trailer[6];
    std::size_t refSize = trailer[7];
    std::uint64_t objectCount = bigEndian(trailer + 8, 8);
    std::uint64_t top = bigEndian(trailer + 16, 8);
    std::uint64_t tableOffset = bigEndian(trailer + 24, 8);
    std::uint64_t tableEnd = bytes.size() - trailerSize;
    if (offsetSize < 1 || offsetSize > 8 || refSize < 1 || refSize > 8) return false;
    if (objectCount == 0 || top >= objectCount || tableOffset < binaryPropertyListMagic.size() || tableOffset > tableEnd) return false;
    if (objectCount > (tableEnd - tableOffset) / offsetSize) return false;

    auto offsetOf = [&](std::uint64_t object) { return bigEndian(data + tableOffset + object * offsetSize, offsetSize); };

    struct Container {
        std::uint64_t refsStart = 0;
        std::uint64_t refCount = 0;
        std::uint64_t keyCount = 0;  // a dictionary's references start with its keys
    };
    // Reads a container's references; false for a malformed header.
    auto containerAt = [&](std::uint64_t object, std::optional<Container>& container) {
        container.reset();
        std::uint64_t offset = offsetOf(object);
        if (offset < binaryPropertyListMagic.size() || offset >= tableOffset) return false;
        unsigned type = data[offset] >> 4;
        if (type != 0xA && type != 0xB && type != 0xC && type != 0xD) return true;
        // libplist reads sets as arrays.
        if (purpose == PropertyListPurpose::rewriting && type != 0xA && type != 0xD) return false;
        auto counted = countedAt(data, offset, tableOffset);
        if (!counted) return false;
        std::uint64_t count = counted->count;
        std::uint64_t position = counted->start;
        std::uint64_t refs = type == 0xD ? count * 2 : count;
        if (count > tableOffset || refs > (tableOffset - position) / refSize) return false;
        container = Container{position, refs, type == 0xD ? count : 0};
        return true;
    };

    enum class Mark : std::uint8_t { unseen, open, done };
    std::vector<Mark> marks(objectCount, Mark::unseen);
    struct Frame {
        std::uint64_t object;
        Container container;
        std::uint64_t next = 0;
    };
    std::vector<Frame> stack;
    // Scalars are shared; each is checked once.
    std::vector<bool> scalarChecked(objectCount, false);
    auto scalarAccepted = [&](std::uint64_t object) {
        if (scalarChecked[object]) return true;
        scalarChecked[object] = true;
        std::uint64_t offset = offsetOf(object);
        if (purpose == PropertyListPurpose::rewriting) return scalarReadsExactly(data, offset, tableOffset);
        return scalarReadable(data, offset, tableOffset);
    };
    std::optional<Container> topContainer;
    if (!containerAt(top, topContainer)) return false;
    if (!topContainer) return scalarAccepted(top);
    marks[top] = Mark::open;
    stack.push_back({top, *topContainer});
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next == frame.container.refCount) {
            marks[frame.object] = Mark::done;
            stack.pop_back();
            continue;
        }
        std::uint64_t child = bigEndian(data + frame.container.refsStart + frame.next * refSize, refSize);
        ++frame.next;
        if (child >= objectCount) return false;
        if (frame.next <= frame.container.keyCount && !keyHasNoNul(data, offsetOf(child), tableOffset)) return false;
        std::optional<Container> childContainer;
        if (!containerAt(child, childContainer)) return false;
        if (!childContainer) {
            if (!scalarAccepted(child)) return false;
            continue;
        }
        if (marks[child] != Mark::unseen) return false;
        if (stack.size() >= static_cast<std::size_t>(maxPropertyListDepth)) return false;
        marks[child] = Mark::open;
        stack.push_back({child, *childContainer});
    }
    return true;
}

// XML has no references; only its nesting needs a bound before parsing.
bool xmlListIsSafe(std::string_view text) {
    int depth = 0;
    for (std::size_t i = text.find('<'); i != std::string_view::npos; i = text.find('<', i + 1)) {
        std::string_view tag = text.substr(i + 1);
        bool closing = !tag.empty() && tag.front() == '/';
        if (closing) tag.remove_prefix(1);
        bool container = tag.starts_with("array") || tag.starts_with("dict");
        if (!container) continue;
        auto end = tag.find('>');
        if (end == std::string_view::npos) return false;
        if (closing) {
            --depth;
        } else if (end == 0 || tag[end - 1] != '/') {
            if (++depth > maxPropertyListDepth) return false;
        }
    }
    return true;
}

}  // namespace desktop
