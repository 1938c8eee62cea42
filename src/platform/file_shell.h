#pragma once

#include "platform/byte_source.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace lw {

// A file's size and last change, as one look at it gives them.
struct TFileStamp {
    uint64_t Size = 0;
    int64_t ModifiedUnixNs = 0; // since 1970-01-01 UTC
};

// A file that lives in memory alone, for a writer that takes only a name
// and does not tell of a failed write (Qt's PDF printer): nothing of it is
// left on disk however the process ends, and it reaches its place whole or
// not at all.
class IMemoryFile {
public:
    virtual ~IMemoryFile() = default;
    // The name a writer opens it by; empty, with errno set, when it could not
    // be made.
    virtual std::string Name() const = 0;
    // Puts what was written at path in one step, as WriteDocumentOver does.
    // False with errno set (ENOSPC for a full disk); path is then as it was.
    virtual bool PutAt(const std::string& path) = 0;
};

// What file handling needs from the desktop beyond plain file-system calls.
class IFileShell {
public:
    virtual ~IFileShell() = default;
    // Moves a file or folder into the user's trash, from where the desktop can
    // restore it. On failure errno holds the reason and nothing has moved.
    virtual bool MoveToTrash(const std::string& path) = 0;
    // Puts a copy of the regular file `from` (a link is followed) at `to`,
    // replacing what is there in one step: anyone looking sees the old file
    // or the whole copy, and a failure or a kill part-way leaves `to` as it
    // was. On failure errno holds the reason (ENOSPC for a full disk).
    virtual bool CopyFileOver(const std::string& from, const std::string& to) = 0;
    // Copies the regular file `from` to `to`, which must not exist: a file
    // there is never replaced (EEXIST), and a failure leaves nothing at `to`.
    virtual bool CopyNewFile(const std::string& from, const std::string& to) = 0;
    // Moves (renames) `from` to `to`, failing with EEXIST rather than
    // replacing what is there; across volumes the copy is made first and the
    // original removed only then. A link moves as a link.
    virtual bool MoveNoReplace(const std::string& from, const std::string& to) = 0;
    // Opens a font file for reading by ranges. Only a regular file (a link
    // is followed) is a font: a pipe or a device is refused at once, so no
    // reader ever waits on one. Throws EFontFileError with the reason.
    virtual std::unique_ptr<IByteSource> OpenFontFile(const std::string& path) = 0;
    // The whole of a small regular file (a link is followed); nothing, with
    // errno set, for anything else, for a file over limit bytes (EFBIG) or
    // when reading fails. A pipe is refused at once, never waited on.
    virtual std::optional<std::string> ReadSmallFile(const std::string& path, size_t limit) = 0;
    // Puts data at path in one step, replacing what is there: a failure or a
    // kill part-way leaves the old file whole. False with errno set.
    virtual bool WriteFileOver(const std::string& path, const std::string& data) = 0;
    // The same for a file the user may keep elsewhere: a link is written
    // through, and the file keeps its mode. False with errno set.
    virtual bool WriteDocumentOver(const std::string& path, const std::string& data) = 0;
    // A new, empty file in memory; see IMemoryFile.
    virtual std::unique_ptr<IMemoryFile> MakeMemoryFile() = 0;
    // Clears what WriteFileOver of processes no longer running left in
    // folder; nothing else there is touched.
    virtual void RemoveUnfinishedWrites(const std::string& folder) = 0;
    // The size and modification time of the regular file at path (a link
    // is followed) from a single look, so the two belong to the same
    // version; nothing when there is no such file.
    virtual std::optional<TFileStamp> Stamp(const std::string& path) = 0;
    // Whether this process may create and remove entries in folder.
    virtual bool CanWriteIn(const std::string& folder) = 0;
};

} // namespace lw
