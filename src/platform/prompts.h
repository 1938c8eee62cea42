#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lw {

enum class TMsgIcon { None, Question, Warning, Error, Information };
enum class TMsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class TMsgResult { Ok, Cancel, Yes, No };

// Every question, message and picker the program shows goes through here, so
// that a test can answer them and check what the user was told.
class IPrompts {
public:
    virtual ~IPrompts() = default;

    virtual TMsgResult MessageBox(const std::string& text, const std::string& caption,
                                  TMsgIcon icon, TMsgButtons buttons) = 0;
    // Nothing when the user cancels.
    virtual std::optional<std::string>
    InputBox(const std::string& caption, const std::string& prompt, const std::string& initial) = 0;
    // A colour as the settings keep it (TColor: 0x00BBGGRR, or a system
    // colour's reference); the ports lie below the settings, so they take
    // its plain integer.
    virtual std::optional<int32_t> PickColor(int32_t initial) = 0;
    virtual std::optional<std::string> PickFolder(const std::string& title,
                                                  const std::string& startFolder) = 0;
    // filter: "Description|*.ext;*.ext2|Description|*.*" pairs.
    virtual std::optional<std::vector<std::string>> OpenFiles(const std::string& title,
                                                              const std::string& filter,
                                                              const std::string& folder,
                                                              bool multiSelect) = 0;
    // The hourglass: calls nest, every Begin is matched by one End.
    virtual void BeginBusy() = 0;
    virtual void EndBusy() = 0;
};

} // namespace lw
