#pragma once

#include <string>
#include <unordered_set>
#include <vector>

namespace lw {

// Lists of family and category names as the categories keep them: in the
// locale's order ignoring case, no two names equal when case is ignored.

// The form under which two names that differ only in case are one.
std::string NameKey(const std::string& name);

// Names held for quick "is it there, ignoring case" questions.
class TNameSet {
public:
    TNameSet() = default;
    explicit TNameSet(const std::vector<std::string>& names);
    void Add(const std::string& name);
    bool Holds(const std::string& name) const;

private:
    std::unordered_set<std::string> Keys;
};

// Sorts names and drops each that equals an earlier one ignoring case (the
// first one given stays, whatever its spelling).
std::vector<std::string> SortedUnique(std::vector<std::string> names);

// The names of list that set does not hold, in their order.
std::vector<std::string> NamesOutside(const std::vector<std::string>& list, const TNameSet& set);

} // namespace lw
