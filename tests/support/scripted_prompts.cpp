#include "scripted_prompts.h"

namespace lw::test {

namespace {

// The next scripted answer, or what an unscripted prompt gives.
template <typename T> T Next(std::deque<T>& answers, T unscripted) {
    if (answers.empty()) {
        return unscripted;
    }
    T answer = answers.front();
    answers.pop_front();
    return answer;
}

} // namespace

void TScriptedPrompts::Reset() {
    // Every record and queue back to its start, fields added later included.
    *this = TScriptedPrompts();
}

TMsgResult TScriptedPrompts::MessageBox(const std::string& text, const std::string& caption,
                                        TMsgIcon icon, TMsgButtons buttons) {
    Messages.push_back({text, caption, icon, buttons});
    return Next(Answers, buttons == TMsgButtons::Ok      ? TMsgResult::Ok
                         : buttons == TMsgButtons::YesNo ? TMsgResult::No
                                                         : TMsgResult::Cancel);
}

std::optional<std::string> TScriptedPrompts::InputBox(const std::string& caption,
                                                      const std::string& prompt,
                                                      const std::string& initial) {
    Asked.push_back(caption);
    Prompted.push_back(prompt);
    Offered.push_back(initial);
    return Next<std::optional<std::string>>(TextAnswers, std::nullopt);
}

std::optional<TColor> TScriptedPrompts::PickColor(TColor) {
    Asked.push_back("color");
    return Next<std::optional<TColor>>(ColorAnswers, std::nullopt);
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
