#include "catalogue/FinderNameOrder.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/sortkey.h>

#include <algorithm>
#include <cstring>
#include <numeric>

namespace catalogue {

namespace {

// The user's locale; the POSIX locale of a bare environment orders capitals
// before small letters, which the Finder never does, so it falls back to the
// root collation.
icu::Locale collationLocale() {
    icu::Locale locale = icu::Locale::getDefault();
    const char* language = locale.getLanguage();
    const char* variant = locale.getVariant();
    if (!language || !*language || std::strcmp(language, "c") == 0 || std::strcmp(variant, "POSIX") == 0) {
        return icu::Locale::getRoot();
    }
    return locale;
}

std::unique_ptr<icu::Collator> makeCollator(icu::Collator::ECollationStrength strength) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(collationLocale(), status));
    if (U_FAILURE(status) || !collator) {
        status = U_ZERO_ERROR;
        collator.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
        if (U_FAILURE(status)) return nullptr;
    }
    collator->setStrength(strength);
    collator->setAttribute(UCOL_NUMERIC_COLLATION, UCOL_ON, status);
    return U_SUCCESS(status) ? std::move(collator) : nullptr;
}

std::string sortKey(const icu::Collator* collator, const std::string& name) {
    if (!collator) return name;
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(name);
    int32_t length = collator->getSortKey(text, nullptr, 0);
    std::string key(static_cast<std::size_t>(std::max(length, 0)), '\0');
    if (length > 0) collator->getSortKey(text, reinterpret_cast<uint8_t*>(key.data()), length);
    return key;
}

}  // namespace

struct FinderNameOrder::Collators {
    std::unique_ptr<icu::Collator> secondary = makeCollator(icu::Collator::SECONDARY);
    std::unique_ptr<icu::Collator> tertiary = makeCollator(icu::Collator::TERTIARY);
};

FinderNameOrder::FinderNameOrder() : collators_(std::make_unique<Collators>()) {}
FinderNameOrder::~FinderNameOrder() = default;

std::vector<std::size_t> FinderNameOrder::sortedIndices(const std::vector<std::string>& names) const {
    struct Keys {
        std::string secondary, tertiary;
    };
    std::vector<Keys> keys;
    keys.reserve(names.size());
    for (const auto& name : names) {
        keys.push_back({sortKey(collators_->secondary.get(), name), sortKey(collators_->tertiary.get(), name)});
    }
    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (keys[a].secondary != keys[b].secondary) return keys[a].secondary < keys[b].secondary;
        if (keys[a].tertiary != keys[b].tertiary) return keys[a].tertiary < keys[b].tertiary;
        return names[a] < names[b];
    });
    return order;
}

}  // namespace catalogue
