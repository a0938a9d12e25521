#include "settings/AppSearch.h"

#include "settings/SearchFold.h"

namespace orvane {

AppSearch::AppSearch(const std::string& query) : folded_(searchFold(query)) {}

bool AppSearch::matches(const std::string& name) const {
    return matchesFolded(searchFold(name));
}

bool AppSearch::matchesFolded(const std::u16string& foldedName) const {
    return folded_.empty() || foldedName.find(folded_) != std::u16string::npos;
}

std::vector<std::size_t> AppSearch::matching(const std::vector<SettingsApp>& apps) const {
    std::vector<std::size_t> found;
    found.reserve(apps.size());
    for (std::size_t i = 0; i < apps.size(); ++i)
        if (matchesFolded(apps[i].searchName())) found.push_back(i);
    return found;
}

}  // namespace orvane
