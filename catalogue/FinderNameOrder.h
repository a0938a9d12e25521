#pragma once

// Orders names the way the Finder sorts file names: locale-aware,
// case-insensitive, digits compared as numbers ("App 2" before "App 10").

#include <memory>
#include <string>
#include <vector>

namespace catalogue {

class FinderNameOrder {
public:
    FinderNameOrder();
    ~FinderNameOrder();
    FinderNameOrder(const FinderNameOrder&) = delete;
    FinderNameOrder& operator=(const FinderNameOrder&) = delete;

    // The indices of names in ascending order. Names that compare equal keep
    // their original order; names equal but for case or width are told apart
    // by that difference so that the order is total.
    std::vector<std::size_t> sortedIndices(const std::vector<std::string>& names) const;

private:
    struct Collators;
    std::unique_ptr<Collators> collators_;
};

}  // namespace catalogue
