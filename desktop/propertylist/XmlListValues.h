#pragma once

// Part of the stand-in for the platform's property-list serialization: the
// values of an XML list that libplist 2.2 would read as something other than
// what the text says, so that writing the list back would change them.

#include <string_view>

#include "desktop/propertylist/PropertyListChecks.h"

namespace desktop {

// Whether the values of an XML list read as exactly what its text says.
// libplist reads integers and reals with the C library (saturating, stopping
// at stray text, taking hex), drops a date's fraction, stops base64 at a bad
// character or a missing pad and garbles text after a NUL; such a list is
// refused rather than read as other values. For rewriting, strings and keys
// must also be what the platform would read: libplist passes surrogate
// references through, keeps carriage returns that XML turns into line feeds
// and cuts text at bytes that are not UTF-8 (which reading repairs).
bool xmlValuesReadExactly(std::string_view text, PropertyListPurpose purpose);

}  // namespace desktop
