#pragma once

#include <string>

namespace lw {

// What file handling needs from the desktop beyond plain file-system calls.
class IFileShell {
public:
    virtual ~IFileShell() = default;
    // Moves a file or folder into the user's trash, from where the desktop can
    // restore it. On failure errno holds the reason and nothing has moved.
    virtual bool MoveToTrash(const std::string& path) = 0;
};

} // namespace lw
