#pragma once

#include "fonts/face_facts.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace lw {

// One face's facts as the cache keeps them: valid while the file at Path
// still has this size and modification time.
struct TFactsEntry {
    std::string Path; // bytes, as the file system spells it
    uint32_t Face = 0;
    uint64_t Size = 0;
    int64_t ModifiedNs = 0;
    TFaceFacts Facts;
    bool operator==(const TFactsEntry&) const = default;
};

// The cache file: a signature, the entries and a checksum of both, so a
// file cut short or changed by hand is noticed and rebuilt, never believed.
std::string WriteFactsCache(const std::vector<TFactsEntry>& entries);
std::optional<std::vector<TFactsEntry>> ParseFactsCache(std::span<const uint8_t> bytes);
// The entries alone, without the signature and checksum: the part a
// fuzzer reaches only through a checksum it cannot guess.
std::string WriteFactsEntries(const std::vector<TFactsEntry>& entries);
std::optional<std::vector<TFactsEntry>> ParseFactsEntries(std::span<const uint8_t> bytes);

// The facts of the faces the program shows, computed from each file once:
// kept in $XDG_CACHE_HOME/letterwell/ by path, size and modification time.
// Not shared between threads: one worker owns it while it fills.
class TFactsCache {
public:
    // The cache file to use; empty keeps the facts in memory only.
    explicit TFactsCache(std::string file);
    // $XDG_CACHE_HOME/letterwell/face-facts.cache (~/.cache when unset).
    static std::string DefaultFile();

    // Reads the file; a damaged or missing one leaves the cache empty.
    void Load();
    bool LoadedDamaged() const { return Damaged; }
    // The face's facts: from the cache while its file is unchanged, else
    // read from the file (a collection's face or a variable font's named
    // instance by its index) and kept.
    const TFaceFacts& Facts(const std::string& path, uint32_t faceIndex);
    // Writes the cache when it changed; after a walk over every installed
    // face, dropUnasked lets the faces not asked for go (fonts that went
    // away). False when it cannot be written.
    bool Save(bool dropUnasked = false);
    // Files read since the cache was made: what a test counts.
    size_t FilesRead() const { return Reads; }

private:
    struct TSlot {
        TFactsEntry Entry;
        bool Used = false;
    };
    std::string File;
    std::unordered_map<std::string, TSlot> Slots;
    std::string KeyBuffer;
    bool Changed = false;
    bool Damaged = false;
    size_t Reads = 0;
};

} // namespace lw
