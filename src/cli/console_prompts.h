#pragma once

#include "base/color.h"
#include "platform/prompts.h"

#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace lw {

// Messages go to standard error; questions are answered "no" so nothing
// irreversible happens without a person. An input box takes the answer the
// command line gave, when it gave one.
class TConsolePrompts : public IPrompts {
public:
    std::optional<std::string> InputAnswer;
    // Errors and warnings told so far: the command then ends with status 1.
    int Failures = 0;
    // The command line said yes beforehand (--replace): questions are
    // answered yes.
    bool SayYes = false;

    TMsgResult MessageBox(const std::string& text, const std::string& caption, TMsgIcon icon,
                          TMsgButtons buttons) override {
        std::cerr << caption << ": " << text << "\n";
        if (icon == TMsgIcon::Error || icon == TMsgIcon::Warning) {
            ++Failures;
        }
        switch (buttons) {
        case TMsgButtons::Ok:
            return TMsgResult::Ok;
        case TMsgButtons::OkCancel:
            return TMsgResult::Cancel;
        default:
            return SayYes ? TMsgResult::Yes : TMsgResult::No;
        }
    }
    std::optional<std::string> InputBox(const std::string&, const std::string&,
                                        const std::string&) override {
        return InputAnswer;
    }
    std::optional<TColor> PickColor(TColor) override { return std::nullopt; }
    std::optional<std::string> PickFolder(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::vector<std::string>> OpenFiles(const std::string&, const std::string&,
                                                      const std::string&, bool) override {
        return std::nullopt;
    }
    void BeginBusy() override {}
    void EndBusy() override {}
};

} // namespace lw
