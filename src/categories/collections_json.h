#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lw {

// One collection of another font manager's file, nested ones flattened:
// a child is named after its parent, "Parent - Child" (a category name may
// not hold "/").
struct TImportedCollection {
    std::string Name;
    std::vector<std::string> Families;
    bool operator==(const TImportedCollection&) const = default;
};

inline constexpr const char* kCollectionNameSeparator = " - ";

// font-manager's Collections.json: {"entries": {NAME: {"name", "families",
// "children"}}}, children as an array or an object of collections. Nothing
// for text that is not JSON or holds no such object; a collection without a
// name takes its key. Nesting deeper than a limit is refused, never followed.
std::optional<std::vector<TImportedCollection>> ParseCollectionsJson(std::string_view text);
// The same collections written back in that format, flat (for round trips).
std::string WriteCollectionsJson(const std::vector<TImportedCollection>& collections);

} // namespace lw
