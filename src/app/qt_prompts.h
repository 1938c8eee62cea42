#pragma once

#include "base/color.h"
#include "platform/prompts.h"

class QWidget;

namespace lw {

// The prompts as Qt's standard dialogs, parented to the active window.
class TQtPrompts : public IPrompts {
public:
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

// "Text files|*.txt;*.lst|All|*.*" as Qt's "Text files (*.txt *.lst);;All (*.*)".
std::string QtFileFilter(const std::string& filter);

} // namespace lw
