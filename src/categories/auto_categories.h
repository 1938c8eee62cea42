#pragma once

#include "fonts/face_facts.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace lw {

class TFactsCache;

// Where an installed face lives, as the automatic categories group it.
enum class TInstallPlace : uint8_t { System, User, Temporary };

// One installed face as the catalogue knows it.
struct TFaceRef {
    std::string Family;
    std::string File;
    int Index = 0;
    TInstallPlace Place = TInstallPlace::System;
};

// The automatic categories a face belongs to, by their stable English ids
// (monospace, serif, script:Cyrl, weight:bold, license:ofl, vendor:GOOG,
// installed:user, ...).
std::vector<std::string> AutoCategoryIds(const TFaceFacts& facts, TInstallPlace place);
// A script's name (by its ISO 15924 code) in the interface's language.
std::string LocalScriptName(const std::string& code);
// The id's name in the interface's language ("Monospace", "Script: Cyrillic").
std::string AutoCategoryName(const std::string& id);

// Families grouped by their faces' facts: a family belongs to a category
// when any of its styles does. Read-only once built; the organize window,
// the sheet and the command line read the same groups.
class TAutoCategories {
public:
    void Add(const std::string& family, const std::vector<std::string>& ids);
    // Drops the repeats a family's several faces left; call once after the
    // last Add. The families keep the order they were added in.
    void Finish();
    // Every id that has members, in a fixed order: the plain ones first,
    // then by kind.
    std::vector<std::string> Ids() const;
    // The families of an id; null for an id with no members.
    const std::vector<std::string>* Members(const std::string& id) const;
    // The id whose id or name in the interface's language is name, ignoring
    // case; empty when none.
    std::string IdOf(const std::string& name) const;
    size_t Size() const { return Groups.size(); }

private:
    std::map<std::string, std::vector<std::string>> Groups;
};

// Every installed scalable face with its file, as the catalogue has it now.
// On the thread that owns the catalogue.
std::vector<TFaceRef> InstalledFaceRefs();

// The facts of every face (from the cache, or read once) grouped; the faces
// of a family one after another, families in the order to list them. Safe
// on a worker thread: it asks nothing of the platform but the files. progress
// is told how many faces are done, every so often, and may be empty.
// A progress that answers false stops the walk (the window is closing).
TAutoCategories BuildAutoCategories(const std::vector<TFaceRef>& faces, TFactsCache& cache,
                                    const std::function<bool(size_t done)>& progress = {});

} // namespace lw
