#include "categories/auto_categories.h"

#include "base/strings.h"
#include "categories/category_names.h"
#include "fonts/facts_cache.h"
#include "fonts/font_facts.h"
#include "fonts/font_manager.h"
#include "platform/services.h"

#include <algorithm>
#include <array>

namespace lw {

namespace {

// The ids without a value, each with its name's string number.
constexpr std::array<std::pair<const char*, int>, 8> kPlainIds = {{{"monospace", 30500},
                                                                   {"serif", 30501},
                                                                   {"sans-serif", 30502},
                                                                   {"script", 30503},
                                                                   {"decorative", 30504},
                                                                   {"symbol", 30505},
                                                                   {"variable", 30506},
                                                                   {"italic", 30507}}};
// The kinds of ids with a value, in the order they are listed, each with
// the string number of "Kind: %s".
constexpr std::array<std::pair<const char*, int>, 7> kKinds = {{{"weight:", 30508},
                                                                {"width:", 30509},
                                                                {"script:", 30510},
                                                                {"type:", 30511},
                                                                {"license:", 30512},
                                                                {"vendor:", 30513},
                                                                {"installed:", 30514}}};
constexpr std::array<const char*, 9> kWeights = {
    "thin", "extralight", "light", "regular", "medium", "semibold", "bold", "extrabold", "black"};
constexpr int kWeightNames = 30520;
constexpr std::array<const char*, 9> kWidths = {
    "ultracondensed", "extracondensed", "condensed",     "semicondensed", "normal",
    "semiexpanded",   "expanded",       "extraexpanded", "ultraexpanded"};
constexpr int kWidthNames = 30530;
constexpr std::array<const char*, 3> kPlaces = {"system", "user", "temporary"};
constexpr int kPlaceNames = 30540;
// The scripts' names, in the order of the script table.
constexpr int kScriptNames = 30560;

std::string LicenseId(const std::string& license) {
    const TKnownLicense* known = KnownLicense(license);
    return known != nullptr ? known->ShortId : license; // "public-domain", "other"
}

std::string WeightId(uint16_t weight) {
    const int step = std::clamp((weight + 50) / 100, 1, 9);
    return kWeights[static_cast<size_t>(step - 1)];
}

std::string WidthId(uint16_t width) {
    return kWidths[static_cast<size_t>(std::clamp<int>(width, 1, 9) - 1)];
}

// Where in the listing an id goes: its kind's place, then its own.
std::pair<int, int> Rank(const std::string& id) {
    for (size_t i = 0; i < kPlainIds.size(); ++i) {
        if (id == kPlainIds[i].first) {
            return {0, static_cast<int>(i)};
        }
    }
    const auto indexIn = [](const auto& list, const std::string& value) {
        const auto it = std::find(list.begin(), list.end(), value);
        return it == list.end() ? 0 : static_cast<int>(it - list.begin());
    };
    for (size_t k = 0; k < kKinds.size(); ++k) {
        const std::string kind = kKinds[k].first;
        if (id.compare(0, kind.size(), kind) != 0) {
            continue;
        }
        const std::string value = id.substr(kind.size());
        const int kindRank = static_cast<int>(k) + 1;
        if (kind == "weight:") {
            return {kindRank, indexIn(kWeights, value)};
        }
        if (kind == "width:") {
            return {kindRank, indexIn(kWidths, value)};
        }
        if (kind == "script:") {
            return {kindRank, indexIn(KnownScriptCodes(), value)};
        }
        if (kind == "installed:") {
            return {kindRank, indexIn(kPlaces, value)};
        }
        return {kindRank, 0};
    }
    return {static_cast<int>(kKinds.size()) + 1, 0};
}

std::string ValueName(const std::string& kind, const std::string& value) {
    const auto named = [&](const auto& list, int first) {
        const auto it = std::find(list.begin(), list.end(), value);
        return it == list.end() ? value : LoadStr(first + static_cast<int>(it - list.begin()));
    };
    if (kind == "weight:") {
        return named(kWeights, kWeightNames);
    }
    if (kind == "width:") {
        return named(kWidths, kWidthNames);
    }
    if (kind == "installed:") {
        return named(kPlaces, kPlaceNames);
    }
    if (kind == "script:") {
        return LocalScriptName(value);
    }
    if (kind == "type:") {
        return value == "cff" ? "OpenType (CFF)" : value == "type1" ? "Type 1" : "TrueType";
    }
    return value;
}

} // namespace

std::string LocalScriptName(const std::string& code) {
    const std::vector<std::string> codes = KnownScriptCodes();
    const auto it = std::find(codes.begin(), codes.end(), code);
    return it == codes.end() ? code : LoadStr(kScriptNames + static_cast<int>(it - codes.begin()));
}

std::vector<std::string> AutoCategoryIds(const TFaceFacts& facts, TInstallPlace place) {
    std::vector<std::string> ids;
    ids.reserve(16);
    ids.push_back(std::string("installed:") + kPlaces[static_cast<size_t>(place)]);
    if (!facts.Readable) {
        return ids;
    }
    if (facts.Monospace) {
        ids.push_back("monospace");
    }
    switch (facts.Design) {
    case TDesignClass::Serif:
        ids.push_back("serif");
        break;
    case TDesignClass::SansSerif:
        ids.push_back("sans-serif");
        break;
    case TDesignClass::Script:
        ids.push_back("script");
        break;
    case TDesignClass::Decorative:
        ids.push_back("decorative");
        break;
    case TDesignClass::Symbol:
        ids.push_back("symbol");
        break;
    case TDesignClass::Unknown:
        break;
    }
    if (facts.Variable) {
        ids.push_back("variable");
    }
    if (facts.Italic || facts.Oblique) {
        ids.push_back("italic");
    }
    ids.push_back("weight:" + WeightId(facts.Weight));
    ids.push_back("width:" + WidthId(facts.Width));
    for (const std::string& script : facts.Scripts) {
        ids.push_back("script:" + script);
    }
    if (!facts.Format.empty()) {
        ids.push_back("type:" + facts.Format);
    }
    if (!facts.License.empty()) {
        ids.push_back("license:" + LicenseId(facts.License));
    }
    if (!facts.Vendor.empty()) {
        ids.push_back("vendor:" + facts.Vendor);
    }
    return ids;
}

std::string AutoCategoryName(const std::string& id) {
    for (const auto& [plain, number] : kPlainIds) {
        if (id == plain) {
            return LoadStr(number);
        }
    }
    for (const auto& [kind, number] : kKinds) {
        const std::string prefix = kind;
        if (id.compare(0, prefix.size(), prefix) == 0) {
            return FmtLoadStr(number, ValueName(prefix, id.substr(prefix.size())));
        }
    }
    return id;
}

void TAutoCategories::Add(const std::string& family, const std::vector<std::string>& ids) {
    for (const std::string& id : ids) {
        Groups[id].push_back(family);
    }
}

void TAutoCategories::Finish() {
    // The faces of a family come one after another, families in the
    // catalogue's order, which is already the locale's: the lists only lose
    // their repeats, with no collation a worker thread would share.
    for (auto& [id, families] : Groups) {
        families.erase(std::unique(families.begin(), families.end()), families.end());
    }
}

std::vector<std::string> TAutoCategories::Ids() const {
    std::vector<std::string> ids;
    for (const auto& [id, families] : Groups) {
        ids.push_back(id);
    }
    std::stable_sort(ids.begin(), ids.end(),
                     [](const std::string& a, const std::string& b) { return Rank(a) < Rank(b); });
    return ids;
}

const std::vector<std::string>* TAutoCategories::Members(const std::string& id) const {
    const auto it = Groups.find(id);
    return it == Groups.end() ? nullptr : &it->second;
}

std::string TAutoCategories::IdOf(const std::string& name) const {
    const std::string key = NameKey(name);
    for (const auto& [id, families] : Groups) {
        if (NameKey(id) == key || NameKey(AutoCategoryName(id)) == key) {
            return id;
        }
    }
    return std::string();
}

std::vector<TFaceRef> InstalledFaceRefs() {
    std::vector<TFaceRef> refs;
    if (!FontManager) {
        return refs;
    }
    std::string userFolder = FontManager->FontsFolder;
    if (!userFolder.empty() && userFolder.back() != '/') {
        userFolder += '/';
    }
    for (const std::string& family : FontManager->Families) {
        for (const TFaceInfo& face : FontSystem().EnumFaces(family)) {
            if (face.File.empty() || !face.Scalable()) {
                continue;
            }
            TFaceRef ref{family, face.File, face.Index, TInstallPlace::System};
            if (FontManager->IsTemporary(face.FullName)) {
                ref.Place = TInstallPlace::Temporary;
            } else if (!userFolder.empty() &&
                       face.File.compare(0, userFolder.size(), userFolder) == 0) {
                ref.Place = TInstallPlace::User;
            }
            refs.push_back(std::move(ref));
        }
    }
    return refs;
}

TAutoCategories BuildAutoCategories(const std::vector<TFaceRef>& faces, TFactsCache& cache,
                                    const std::function<bool(size_t done)>& progress) {
    TAutoCategories groups;
    // A family's faces come one after another and mostly share their ids:
    // the family is added once with the ids of all its faces, not once a
    // face with every id again.
    std::vector<std::string> familyIds;
    const std::string* family = nullptr;
    const auto addFamily = [&] {
        if (family != nullptr) {
            std::sort(familyIds.begin(), familyIds.end());
            familyIds.erase(std::unique(familyIds.begin(), familyIds.end()), familyIds.end());
            groups.Add(*family, familyIds);
        }
        familyIds.clear();
    };
    for (size_t i = 0; i < faces.size(); ++i) {
        const TFaceRef& face = faces[i];
        if (family == nullptr || *family != face.Family) {
            addFamily();
            family = &face.Family;
        }
        const TFaceFacts& facts = cache.Facts(face.File, static_cast<uint32_t>(face.Index));
        for (std::string& id : AutoCategoryIds(facts, face.Place)) {
            familyIds.push_back(std::move(id));
        }
        if (progress && (i + 1) % 256 == 0 && !progress(i + 1)) {
            break;
        }
    }
    addFamily();
    groups.Finish();
    if (progress) {
        progress(faces.size());
    }
    return groups;
}

} // namespace lw
