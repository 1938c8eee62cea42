#include "scripted_prompts.h"

namespace lw::test {

void TScriptedPrompts::Reset() {
    Messages.clear();
    Asked.clear();
    Offered.clear();
    Prompted.clear();
    Answers.clear();
    TextAnswers.clear();
    ColorAnswers.clear();
    BusyDepth = 0;
    BusyCount = 0;
}

TMsgResult TScriptedPrompts::MessageBox(const std::string& text, const std::string& caption,
                                        TMsgIcon icon, TMsgButtons buttons) {
    Messages.push_back({text, caption, icon, buttons});
    if (!Answers.empty()) {
        TMsgResult answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    switch (buttons) {
    case TMsgButtons::Ok:
        return TMsgResult::Ok;
    case TMsgButtons::YesNo:
        return TMsgResult::No;
    default:
        return TMsgResult::Cancel;
    }
}

std::optional<std::string> TScriptedPrompts::InputBox(const std::string& caption,
                                                      const std::string& prompt,
                                                      const std::string& initial) {
    Asked.push_back(caption);
    Prompted.push_back(prompt);
    Offered.push_back(initial);
    if (TextAnswers.empty()) {
        return std::nullopt;
    }
    auto answer = TextAnswers.front();
    TextAnswers.pop_front();
    return answer;
}

std::optional<TColor> TScriptedPrompts::PickColor(TColor) {
    Asked.push_back("color");
    if (ColorAnswers.empty()) {
        return std::nullopt;
    }
    auto answer = ColorAnswers.front();
    ColorAnswers.pop_front();
    return answer;
}

std::optional<std::string> TScriptedPrompts::PickFolder(const std::string& title,
                                                        const std::string& startFolder) {
    return InputBox(title, std::string(), startFolder);
}

std::optional<std::vector<std::string>> TScriptedPrompts::OpenFiles(const std::string& title,
                                                                    const std::string&,
                                                                    const std::string& folder,
                                                                    bool) {
    auto answer = InputBox(title, std::string(), folder);
    if (!answer) {
        return std::nullopt;
    }
    return std::vector<std::string>{*answer};
}

void TScriptedPrompts::BeginBusy() {
    ++BusyDepth;
    ++BusyCount;
}

void TScriptedPrompts::EndBusy() {
    --BusyDepth;
}

} // namespace lw::test
