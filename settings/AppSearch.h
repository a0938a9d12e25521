#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "settings/SettingsApp.h"

namespace orvane {

// The search of the "add" page: which apps' names contain the query,
// ignoring case. Both sides are compared in composed form with their case
// folded, so "É" typed as E and a combining accent finds "Écran", and an
// emoji or a letter with a mark matches only itself.
class AppSearch {
public:
    explicit AppSearch(const std::string& query);

    bool matches(const std::string& name) const;
    // A name already in searchFold form, as SettingsApp keeps it.
    bool matchesFolded(const std::u16string& foldedName) const;
    // The positions of the matching apps, in order; all of them for an empty query.
    // Uses each app's name folded when the list arrived, so a keystroke folds only the query.
    std::vector<std::size_t> matching(const std::vector<SettingsApp>& apps) const;

private:
    std::u16string folded_;
};

}  // namespace orvane
