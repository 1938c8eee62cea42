#pragma once

#include "base/color.h"
#include "platform/prompts.h"

#include <deque>
#include <string>
#include <vector>

namespace lw::test {

// Answers prompts from a queue and records every one, so a test can check
// exactly what the user was asked or told. With an empty queue a message is
// answered Ok / No / Cancel and every picker is cancelled.
class TScriptedPrompts : public IPrompts {
public:
    struct TMessage {
        std::string Text;
        std::string Caption;
        TMsgIcon Icon;
        TMsgButtons Buttons;
    };

    std::vector<TMessage> Messages;
    std::vector<std::string> Asked;    // captions of input boxes and titles of pickers
    std::vector<std::string> Offered;  // their start texts and start folders
    std::vector<std::string> Prompted; // the input boxes' prompts
    std::deque<TMsgResult> Answers;
    std::deque<std::optional<std::string>> TextAnswers;
    std::deque<std::optional<TColor>> ColorAnswers;
    int BusyDepth = 0;
    int BusyCount = 0;

    void Reset();

    TMsgResult MessageBox(const std::string& text, const std::string& caption, TMsgIcon icon,
                          TMsgButtons buttons) override;
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& initial) override;
    std::optional<TColor> PickColor(TColor initial) override;
    std::optional<std::string> PickFolder(const std::string& title,
                                          const std::string& startFolder) override;
    std::optional<std::vector<std::string>> OpenFiles(const std::string& title,
                                                      const std::string& filter,
                                                      const std::string& folder,
                                                      bool multiSelect) override;
    void BeginBusy() override;
    void EndBusy() override;
};

} // namespace lw::test
