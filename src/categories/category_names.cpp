#include "categories/category_names.h"

#include "platform/services.h"

#include <utility>

namespace lw {

std::string NameKey(const std::string& name) {
    return Text().Upper(name);
}

TNameSet::TNameSet(const std::vector<std::string>& names) {
    Keys.reserve(names.size());
    for (const std::string& name : names) {
        Add(name);
    }
}

void TNameSet::Add(const std::string& name) {
    Keys.insert(NameKey(name));
}

bool TNameSet::Holds(const std::string& name) const {
    return Keys.count(NameKey(name)) > 0;
}

std::vector<std::string> SortedUnique(std::vector<std::string> names) {
    std::unordered_set<std::string> seen;
    std::vector<std::string> unique;
    unique.reserve(names.size());
    for (std::string& name : names) {
        if (seen.insert(NameKey(name)).second) {
            unique.push_back(std::move(name));
        }
    }
    Text().SortCollated(unique);
    return unique;
}

std::vector<std::string> NamesOutside(const std::vector<std::string>& list, const TNameSet& set) {
    std::vector<std::string> outside;
    for (const std::string& name : list) {
        if (!set.Holds(name)) {
            outside.push_back(name);
        }
    }
    return outside;
}

} // namespace lw
