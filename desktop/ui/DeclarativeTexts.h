#pragma once

// The texts the simulated Mac's declarative toolkit shows on its own, in the
// system's Simplified Chinese.

#include <string>

namespace desktop::ui {

namespace texts {
// The standard empty-search-result view.
inline constexpr const char* noResults = "无结果";
inline constexpr const char* openQuote = "“";
inline constexpr const char* closeQuoteNoResults = "”无结果";
inline constexpr const char* checkSpelling = "请检查拼写或尝试新的搜索。";
}  // namespace texts

// "“query”无结果", or "无结果" for an empty query.
inline std::string emptySearchTitle(const std::string& query) {
    if (query.empty()) return texts::noResults;
    return std::string(texts::openQuote) + query + texts::closeQuoteNoResults;
}

}  // namespace desktop::ui
