#pragma once

#include <functional>
#include <string>
#include <sys/types.h>

namespace lw {

// "<pid>.<start time>" of this process. It names what a process may leave
// behind when it is killed, so a later start can tell a dead owner from a
// live one even after the process id has been given to another program.
std::string ProcessStamp();
// Whether the process a stamp names is still the one running.
bool StampIsLive(const std::string& stamp);

// Puts a new file at path in one step, its bytes written by write(fd):
// whoever looks sees the old file or the whole new one, never a part. The
// file is built unnamed and named only once flushed, so a kill at any moment
// leaves nothing behind (on file systems without unnamed files, a hidden
// file that RemoveStaleHiddenFiles clears). False with errno set on failure;
// path is then as it was.
bool ReplaceFile(const std::string& path, mode_t mode, const std::function<bool(int fd)>& write);

// The folder a path names its entry in: "." for a bare name, "/" for the root's.
std::string FolderOf(const std::string& path);

// Puts a new file at path, its bytes written by write(fd), only when nothing
// is there yet (EEXIST otherwise); the file appears whole or not at all.
bool CreateNewFile(const std::string& path, mode_t mode, const std::function<bool(int fd)>& write);

// Writes all of data to fd; false with errno set (ENOSPC on a full disk).
bool WriteAll(int fd, const char* data, size_t size);
// Copies what is left to read in from to to; false with errno set.
bool CopyAll(int from, int to);

// Where a file the user named lies: through any links, to the file they
// lead to or to the name a new file would take there.
struct TDocumentTarget {
    std::string Path;
    bool Exists = false;
    bool Regular = false; // only a regular file is ever replaced
    mode_t Mode = 0;
    uid_t Owner = 0;
    gid_t Group = 0;
};
TDocumentTarget FindDocumentTarget(const std::string& path);

// ReplaceFile for a file the user named: a link is written through, a file
// replaced keeps its permissions (and, where allowed, its owner), a new one
// gets those of any new file of the user's; a target that is not a regular
// file is refused with EEXIST and left as it is.
bool ReplaceDocument(const TDocumentTarget& target, const std::function<bool(int fd)>& write);

// A file that lives in memory alone, for a writer that takes only a name:
// nothing is left of it on disk, however the process ends. Fd() is -1, with
// errno set, when it could not be made.
class TMemoryFile {
public:
    TMemoryFile();
    ~TMemoryFile();
    TMemoryFile(const TMemoryFile&) = delete;
    TMemoryFile& operator=(const TMemoryFile&) = delete;

    int Fd() const { return Descriptor; }
    // The name it is opened by, as a new file each time.
    std::string Path() const;

private:
    int Descriptor;
};

// Removes the hidden files that ReplaceFile of processes no longer running
// left in folder. Touches nothing else: not other files, not links' targets.
void RemoveStaleHiddenFiles(const std::string& folder);

} // namespace lw
