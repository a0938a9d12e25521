#include "settings/SearchFold.h"

#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

namespace orvane {

std::u16string searchFold(const std::string& text) {
    icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(text);
    UErrorCode status = U_ZERO_ERROR;
    if (const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status); U_SUCCESS(status)) {
        icu::UnicodeString composed = nfc->normalize(unicode, status);
        if (U_SUCCESS(status)) unicode = std::move(composed);
    }
    unicode.foldCase();
    return std::u16string(unicode.getBuffer(), unicode.getBuffer() + unicode.length());
}

}  // namespace orvane
