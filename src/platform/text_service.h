#pragma once

#include <string>
#include <vector>

namespace lw {

// Comparisons and case mapping of UTF-8 text by the user's locale. Kept behind
// one interface so "ignoring case" means the same thing everywhere.
class ITextService {
public:
    virtual ~ITextService() = default;
    // <0, 0, >0 like strcmp, ignoring case.
    virtual int CompareIgnoreCase(const std::string& a, const std::string& b) const = 0;
    // <0, 0, >0 by the locale's collation, ignoring case.
    virtual int Collate(const std::string& a, const std::string& b) const = 0;
    virtual std::string Upper(const std::string& text) const = 0;
    // Sorts by the locale's collation, ignoring case, as Collate orders, each
    // text's key made once (a folder of thousands of names sorts at once).
    virtual void SortCollated(std::vector<std::string>& texts) const = 0;
};

} // namespace lw
