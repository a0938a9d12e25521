#pragma once

// The checks that untrusted property-list bytes pass before libplist reads
// them: libplist follows a binary list's references without limits and
// asserts on some values, so a list it would loop on, blow up on or die on is
// refused here, as a whole, before it is parsed.

#include <string_view>

namespace desktop {

inline constexpr std::string_view binaryPropertyListMagic = "bplist00";

// What the bytes are checked for before libplist reads them.
enum class PropertyListPurpose {
    reading,
    // The list is written back: every value must also read as exactly what
    // the bytes hold, or the write would silently change it.
    rewriting,
};

// Walks the object graph of a binary list from its top object and accepts it
// only when every container is reached once, nothing cycles, the nesting
// stays within the limit and no dictionary key holds a NUL. Scalars may be
// shared (writers share equal strings).
bool binaryListIsSafe(std::string_view bytes, PropertyListPurpose purpose);
// XML has no references; only its nesting needs a bound before parsing.
bool xmlListIsSafe(std::string_view text);

}  // namespace desktop
