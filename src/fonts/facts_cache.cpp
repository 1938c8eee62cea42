#include "fonts/facts_cache.h"

#include "fonts/byte_view.h"
#include "platform/services.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace lw {

namespace {

constexpr char kSignature[] = "LWFACTS1";
constexpr size_t kSignatureSize = sizeof(kSignature) - 1;
constexpr size_t kChecksumSize = 8;
// Far above any real cache (20,000 faces take about 2 MB).
constexpr size_t kMaxCacheBytes = size_t(256) << 20;
constexpr size_t kMaxScripts = 64;

uint64_t Checksum(std::span<const uint8_t> bytes) {
    uint64_t hash = 1469598103934665603ull; // FNV-1a
    for (const uint8_t b : bytes) {
        hash = (hash ^ b) * 1099511628211ull;
    }
    return hash;
}

void PutU8(std::string& out, uint8_t v) {
    out += static_cast<char>(v);
}
void PutU16(std::string& out, uint16_t v) {
    PutU8(out, uint8_t(v));
    PutU8(out, uint8_t(v >> 8));
}
void PutU32(std::string& out, uint32_t v) {
    PutU16(out, uint16_t(v));
    PutU16(out, uint16_t(v >> 16));
}
void PutU64(std::string& out, uint64_t v) {
    PutU32(out, uint32_t(v));
    PutU32(out, uint32_t(v >> 32));
}
void PutText(std::string& out, const std::string& text) {
    PutU32(out, static_cast<uint32_t>(text.size()));
    out += text;
}

// A walk over the entries that stops for good at the first field that
// does not fit.
class TReader {
public:
    explicit TReader(std::span<const uint8_t> bytes) : View(bytes) {}
    bool Ok() const { return Good; }
    bool AtEnd() const { return At == View.Size(); }
    uint8_t U8() { return Take(1) ? View.U8(At - 1) : 0; }
    uint16_t U16() { return Take(2) ? View.LE16(At - 2) : 0; }
    uint32_t U32() { return Take(4) ? View.LE32(At - 4) : 0; }
    uint64_t U64() {
        const uint64_t low = U32();
        return low | (uint64_t(U32()) << 32);
    }
    std::string Text() {
        const uint32_t size = U32();
        if (!Take(size)) {
            return std::string();
        }
        const auto span = View.Sub(At - size, size).Span();
        return std::string(span.begin(), span.end());
    }

private:
    bool Take(uint64_t count) {
        if (!Good || !View.Contains(At, count)) {
            Good = false;
            return false;
        }
        At += count;
        return true;
    }
    TByteView View;
    uint64_t At = 0;
    bool Good = true;
};

enum TFlag : uint8_t {
    kReadable = 1,
    kMonospace = 2,
    kItalic = 4,
    kOblique = 8,
    kVariable = 16,
};

std::string SlotKey(const std::string& path, uint32_t face) {
    return path + '\0' + std::to_string(face);
}

// The file's size and modification time; nothing when it is not there. The
// time is counted as std::filesystem counts it, so caches written before
// still hold.
std::optional<std::pair<uint64_t, int64_t>> FileStamp(const std::string& path) {
    const std::optional<TFileStamp> stamp = FileShell().Stamp(path);
    if (!stamp) {
        return std::nullopt;
    }
    using namespace std::chrono;
    const auto time =
        file_clock::from_sys(sys_time<nanoseconds>(nanoseconds(stamp->ModifiedUnixNs)));
    return std::make_pair(stamp->Size, duration_cast<nanoseconds>(time.time_since_epoch()).count());
}

} // namespace

std::string WriteFactsEntries(const std::vector<TFactsEntry>& entries) {
    std::string out;
    PutU32(out, static_cast<uint32_t>(entries.size()));
    for (const TFactsEntry& e : entries) {
        const TFaceFacts& f = e.Facts;
        PutText(out, e.Path);
        PutU32(out, e.Face);
        PutU64(out, e.Size);
        PutU64(out, static_cast<uint64_t>(e.ModifiedNs));
        PutU8(out, uint8_t((f.Readable ? kReadable : 0) | (f.Monospace ? kMonospace : 0) |
                           (f.Italic ? kItalic : 0) | (f.Oblique ? kOblique : 0) |
                           (f.Variable ? kVariable : 0)));
        PutU16(out, f.Weight);
        PutU16(out, f.Width);
        PutU8(out, static_cast<uint8_t>(f.Design));
        PutText(out, f.Format);
        PutText(out, f.Vendor);
        PutText(out, f.License);
        PutU8(out, static_cast<uint8_t>(std::min(f.Scripts.size(), kMaxScripts)));
        for (size_t i = 0; i < f.Scripts.size() && i < kMaxScripts; ++i) {
            PutText(out, f.Scripts[i]);
        }
    }
    return out;
}

std::optional<std::vector<TFactsEntry>> ParseFactsEntries(std::span<const uint8_t> bytes) {
    TReader in(bytes);
    const uint32_t count = in.U32();
    std::vector<TFactsEntry> entries;
    for (uint32_t i = 0; i < count && in.Ok(); ++i) {
        TFactsEntry e;
        TFaceFacts& f = e.Facts;
        e.Path = in.Text();
        e.Face = in.U32();
        e.Size = in.U64();
        e.ModifiedNs = static_cast<int64_t>(in.U64());
        const uint8_t flags = in.U8();
        if (flags > (kReadable | kMonospace | kItalic | kOblique | kVariable)) {
            return std::nullopt;
        }
        f.Readable = flags & kReadable;
        f.Monospace = flags & kMonospace;
        f.Italic = flags & kItalic;
        f.Oblique = flags & kOblique;
        f.Variable = flags & kVariable;
        f.Weight = in.U16();
        f.Width = in.U16();
        const uint8_t design = in.U8();
        if (design > static_cast<uint8_t>(TDesignClass::Symbol)) {
            return std::nullopt;
        }
        f.Design = static_cast<TDesignClass>(design);
        f.Format = in.Text();
        f.Vendor = in.Text();
        f.License = in.Text();
        const uint8_t scripts = in.U8();
        if (scripts > kMaxScripts) {
            return std::nullopt;
        }
        for (uint8_t s = 0; s < scripts && in.Ok(); ++s) {
            f.Scripts.push_back(in.Text());
        }
        if (in.Ok()) {
            entries.push_back(std::move(e));
        }
    }
    if (!in.Ok() || !in.AtEnd()) {
        return std::nullopt;
    }
    return entries;
}

std::string WriteFactsCache(const std::vector<TFactsEntry>& entries) {
    std::string out = kSignature;
    out += WriteFactsEntries(entries);
    PutU64(out, Checksum(std::span(reinterpret_cast<const uint8_t*>(out.data()), out.size())));
    return out;
}

std::optional<std::vector<TFactsEntry>> ParseFactsCache(std::span<const uint8_t> bytes) {
    if (bytes.size() < kSignatureSize + kChecksumSize ||
        std::string(bytes.begin(), bytes.begin() + kSignatureSize) != kSignature) {
        return std::nullopt;
    }
    const size_t bodyEnd = bytes.size() - kChecksumSize;
    const TByteView tail(bytes.subspan(bodyEnd));
    const uint64_t stored = uint64_t(tail.LE32(0)) | (uint64_t(tail.LE32(4)) << 32);
    if (stored != Checksum(bytes.first(bodyEnd))) {
        return std::nullopt;
    }
    return ParseFactsEntries(bytes.subspan(kSignatureSize, bodyEnd - kSignatureSize));
}

TFactsCache::TFactsCache(std::string file) : File(std::move(file)) {}

std::string TFactsCache::DefaultFile() {
    std::string folder;
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg != nullptr && xdg[0] == '/') {
        folder = xdg;
    } else if (const char* home = std::getenv("HOME"); home != nullptr) {
        folder = std::string(home) + "/.cache";
    } else {
        return std::string();
    }
    return folder + "/letterwell/face-facts.cache";
}

void TFactsCache::Load() {
    Slots.clear();
    Damaged = false;
    if (File.empty()) {
        return;
    }
    const std::optional<std::string> data = FileShell().ReadSmallFile(File, kMaxCacheBytes);
    if (!data) {
        return;
    }
    const auto bytes = std::span(reinterpret_cast<const uint8_t*>(data->data()), data->size());
    std::optional<std::vector<TFactsEntry>> entries = ParseFactsCache(bytes);
    if (!entries) {
        // Rebuilt from the files; the next save replaces the damaged one.
        Damaged = true;
        Changed = true;
        return;
    }
    Slots.reserve(entries->size());
    for (TFactsEntry& entry : *entries) {
        std::string key = SlotKey(entry.Path, entry.Face);
        Slots.insert_or_assign(std::move(key), TSlot{std::move(entry), false});
    }
}

const TFaceFacts& TFactsCache::Facts(const std::string& path, uint32_t faceIndex) {
    // A variable font's named instances are one face of the file.
    const uint32_t face = faceIndex & 0xFFFF;
    // The key is spelled in a buffer kept between calls: a walk over every
    // installed face makes no string of its own per face.
    KeyBuffer.assign(path);
    KeyBuffer += '\0';
    KeyBuffer += std::to_string(face);
    const auto stamp = FileStamp(path);
    auto found = Slots.find(KeyBuffer);
    if (found == Slots.end()) {
        found = Slots.emplace(KeyBuffer, TSlot()).first;
    }
    TSlot& slot = found->second;
    slot.Used = true;
    const bool current = stamp && slot.Entry.Path == path && slot.Entry.Size == stamp->first &&
                         slot.Entry.ModifiedNs == stamp->second;
    if (!current) {
        slot.Entry.Path = path;
        slot.Entry.Face = face;
        slot.Entry.Size = stamp ? stamp->first : 0;
        slot.Entry.ModifiedNs = stamp ? stamp->second : 0;
        slot.Entry.Facts = stamp ? ReadFaceFacts(path, face) : TFaceFacts();
        ++Reads;
        Changed = true;
    }
    return slot.Entry.Facts;
}

bool TFactsCache::Save(bool dropUnasked) {
    if (dropUnasked) {
        for (auto it = Slots.begin(); it != Slots.end();) {
            if (!it->second.Used) {
                it = Slots.erase(it);
                Changed = true;
            } else {
                ++it;
            }
        }
    }
    if (File.empty() || !Changed) {
        return true;
    }
    std::vector<TFactsEntry> entries;
    entries.reserve(Slots.size());
    for (const auto& [key, slot] : Slots) {
        entries.push_back(slot.Entry);
    }
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(File).parent_path(), ec);
    if (!FileShell().WriteFileOver(File, WriteFactsCache(entries))) {
        return false;
    }
    Changed = false;
    return true;
}

} // namespace lw
