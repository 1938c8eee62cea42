#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lw {

// Shell folder numbers, as the settings and file commands name them.
enum TSpecialFolder : int {
    CSIDL_DESKTOP = 0x0000,
    CSIDL_PERSONAL = 0x0005,
    CSIDL_DESKTOPDIRECTORY = 0x0010,
    CSIDL_FONTS = 0x0014,
};

class ISpecialFolders {
public:
    virtual ~ISpecialFolders() = default;
    // The folder's path without a trailing separator, or nothing when the
    // system does not know the folder.
    virtual std::optional<std::string> Path(int csidl) const = 0;
};

class IShell {
public:
    virtual ~IShell() = default;
    // Opens a web address, a mailto: address or a folder with the user's
    // preferred program. False when nothing could be started.
    virtual bool OpenUrl(const std::string& url) = 0;
    // Runs a program found on the PATH (argv[0] its name), no shell in
    // between, and gives what it wrote; nothing when it is not on the PATH,
    // cannot start or ends with a failure status.
    virtual std::optional<std::string> RunProgram(const std::vector<std::string>& argv) = 0;
};

class ISystemErrors {
public:
    virtual ~ISystemErrors() = default;
    // The system's text for the error of the last failed system call.
    virtual std::string LastErrorText() const = 0;
    virtual std::string ErrorText(int code) const = 0;
};

// The user's language as the font files' name tables number languages:
// primary language in the low 10 bits, sub-language above (0x0409 US
// English, 0x081A Serbian Latin).
class ISystemLocale {
public:
    virtual ~ISystemLocale() = default;
    virtual uint16_t DefaultLangID() const = 0;
};

// Where the second language's bundle comes from: only the program's own
// folder, never a search path.
class ILanguageBundleSource {
public:
    virtual ~ILanguageBundleSource() = default;
    // The bundle file's bytes, or nothing when it is missing or unreadable.
    virtual std::optional<std::vector<uint8_t>> ReadBundle(const std::string& fileName) const = 0;
};

// Called on a thread that works ahead of the user (drawing what may be
// scrolled to next): lets the threads the user waits on come first when the
// processors are busy. Best effort; nothing is told when the system refuses.
void LowerThisThreadsPriority();
// Hands memory the process freed back to the system, where the allocator
// keeps it for reuse otherwise: for a moment the user is not waiting on.
void ReturnFreedMemory();

} // namespace lw
