#include "settings/AppSearch.h"

#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

namespace orvane {

namespace {

// Composed, then case-folded. Malformed UTF-8 turns into replacement
// characters, which match only themselves.
std::u16string fold(const std::string& text) {
    icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(text);
    UErrorCode status = U_ZERO_ERROR;
    if (const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status); U_SUCCESS(status)) {
        icu::UnicodeString composed = nfc->normalize(unicode, status);
        if (U_SUCCESS(status)) unicode = std::move(composed);
    }
    unicode.foldCase();
    return std::u16string(unicode.getBuffer(), unicode.getBuffer() + unicode.length());
}

}  // namespace

AppSearch::AppSearch(const std::string& query) : folded_(fold(query)) {}

bool AppSearch::matches(const std::string& name) const {
    if (folded_.empty()) return true;
    return fold(name).find(folded_) != std::u16string::npos;
}

std::vector<std::size_t> AppSearch::matching(const std::vector<SettingsApp>& apps) const {
    std::vector<std::size_t> found;
    found.reserve(apps.size());
    for (std::size_t i = 0; i < apps.size(); ++i)
        if (matches(apps[i].name())) found.push_back(i);
    return found;
}

}  // namespace orvane
